// 在庫管理: 注文の合計金額を計算する
#include <cstdio>
#include <vector>

struct OrderLine {
    int quantity;
    int unitPrice;  // 単価（円）
};

// 注文の合計を返す
int Total(const std::vector<OrderLine>& lines) {
    int total = 0;
    for (const OrderLine& line : lines) {
        total += line.quantity * line.unitPrice;
    }
    return total;
}

int main() {
    std::vector<OrderLine> order = {{3, 120}, {1, 980}, {12, 45}};
    std::printf("合計: %d 円\n", Total(order));
    return 0;
}
