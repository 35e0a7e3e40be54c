// 在庫管理: 注文の合計金額を計算する
#include <cstdio>
#include <vector>

struct OrderLine {
    int quantity;
    int unitPrice;  // 単価（円）
    bool taxFree;   // 非課税品
};

constexpr int kTaxPercent = 10;

// 注文の合計を税込みで返す
int Total(const std::vector<OrderLine>& lines) {
    int total = 0;
    for (const OrderLine& line : lines) {
        const int net = line.quantity * line.unitPrice;
        total += line.taxFree ? net : net * (100 + kTaxPercent) / 100;
    }
    return total;
}

int main() {
    std::vector<OrderLine> order = {{3, 120, false}, {1, 980, false}, {12, 45, true}};
    std::printf("合計: %d 円\n", Total(order));
    return 0;
}
