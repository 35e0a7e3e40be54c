-- The manuals' pandoc filter (scripts/manuals), for what Japanese text and a printed page need
-- beyond Markdown:
--  * a source line break between two Japanese characters, or beside Japanese punctuation, joins
--    the lines without a blank, as Japanese text is written ("使います。Osprey", not
--    "使います。 Osprey"); between a Japanese word and a Latin one it stays the blank that the
--    manuals put there within a line too ("組を Kestrel");
--  * the paragraphs that lead into a figure or a table, and the heading above them, stay on the
--    page where the figure or table begins, the paragraph right before a code block ("例：")
--    stays with the block, and a chapter's one-paragraph introduction stays with the section
--    that follows it (class "keep", manual.css);
--  * inline code that names a path, a file or a key never breaks across lines; only code that
--    holds words (a message text) may break at its blanks (class "words", manual.css).

-- True for a code point that East Asian text sets at full width: kana, CJK ideographs and
-- punctuation, full-width forms.
local function is_wide(code)
  return code ~= nil and ((code >= 0x1100 and code <= 0x115F) or (code >= 0x2E80 and code <= 0xA4CF)
    or (code >= 0xAC00 and code <= 0xD7A3) or (code >= 0xF900 and code <= 0xFAFF)
    or (code >= 0xFE30 and code <= 0xFE4F) or (code >= 0xFF00 and code <= 0xFF60)
    or (code >= 0xFFE0 and code <= 0xFFE6))
end

-- The first (at_end false) or last code point of the text an inline shows, or nil.
local function edge_code(inline, at_end)
  if inline == nil then return nil end
  if inline.text ~= nil then
    local text = inline.text
    if text == "" then return nil end
    if not at_end then return utf8.codepoint(text, 1) end
    return utf8.codepoint(text, utf8.offset(text, -1))
  end
  if inline.content ~= nil and #inline.content > 0 then
    return edge_code(inline.content[at_end and #inline.content or 1], at_end)
  end
  return nil
end

-- True for East Asian punctuation: the CJK symbols and punctuation, the full-width ones and
-- the middle dot.
local function is_punctuation(code)
  return code ~= nil and ((code >= 0x3000 and code <= 0x303F) or code == 0x30FB
    or (code >= 0xFE30 and code <= 0xFE4F) or (code >= 0xFF01 and code <= 0xFF0F)
    or (code >= 0xFF1A and code <= 0xFF20) or (code >= 0xFF3B and code <= 0xFF40)
    or (code >= 0xFF5B and code <= 0xFF65))
end

function Inlines(inlines)
  for i = #inlines, 1, -1 do
    if inlines[i].t == "SoftBreak" then
      local before, after = edge_code(inlines[i - 1], true), edge_code(inlines[i + 1], false)
      if (is_wide(before) and is_wide(after)) or is_punctuation(before) or is_punctuation(after) then
        inlines:remove(i)
      end
    end
  end
  return inlines
end

function Code(code)
  if code.text:find(" ") and not code.text:find("[\\/]") then
    code.classes:insert("words")
  end
  return code
end

-- A paragraph that holds only a picture: pandoc makes it a figure.
local function is_figure(block)
  return block.t == "Para" and #block.content == 1 and block.content[1].t == "Image"
end

-- Wraps blocks first..last into a div of class "keep".
local function keep(blocks, first, last)
  local kept = pandoc.List()
  for k = first, last do kept:insert(blocks[k]) end
  for _ = first, last do blocks:remove(first) end
  blocks:insert(first, pandoc.Div(kept, pandoc.Attr("", {"keep"})))
end

-- The blocks of the body, where every heading and figure of the manuals stands.
function Pandoc(doc)
  local blocks = doc.blocks
  for i = 1, #blocks - 2 do
    if blocks[i].t == "Header" and blocks[i + 1].t == "Para" and blocks[i + 2].t == "Header"
        and blocks[i + 2].level > blocks[i].level then
      keep(blocks, i + 1, i + 1)
    end
  end
  for k = #blocks, 2, -1 do
    if blocks[k].t == "CodeBlock" and blocks[k - 1].t == "Para" and not is_figure(blocks[k - 1]) then
      if k > 2 and blocks[k - 2].t == "Header" then blocks[k - 2].classes:insert("keep") end
      keep(blocks, k - 1, k)
    end
  end
  local i = #blocks
  while i > 1 do
    if blocks[i].t == "Table" or is_figure(blocks[i]) then
      local first = i
      while first > 1 and blocks[first - 1].t == "Para" and not is_figure(blocks[first - 1]) do
        first = first - 1
      end
      if first > 1 and blocks[first - 1].t == "Header" then
        blocks[first - 1].classes:insert("keep")
      end
      if first < i then keep(blocks, first, i - 1) end
      i = first - 1
    else
      i = i - 1
    end
  end
  return doc
end
