#include "tools/runner/dialog_svg.hpp"

#include <algorithm>

#include "mqhost/widgets.hpp"
#include "tools/runner/svg_writer.hpp"

namespace runner {

namespace {

// Sizes in pixels for a 12-pixel sans-serif font.
constexpr int kCharWidth = 7;
constexpr int kGap = 6;
constexpr int kTitleHeight = 26;
constexpr int kGroupTop = 20;
constexpr int kGroupPad = 8;
constexpr int kItemHeight = 16;

struct Box {
  int width = 0;
  int height = 0;
};

enum class Kind { Dialog, Frame, Group, Button, Check, Radio, Combo, Label, Other };

Kind KindOf(const DialogNode& node) {
  std::string name = node.className;
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (name.find("dialog") != std::string::npos) return Kind::Dialog;
  if (name.find("group") != std::string::npos) return Kind::Group;
  if (name.find("frame") != std::string::npos) return Kind::Frame;
  if (name.find("check") != std::string::npos) return Kind::Check;
  if (name.find("radio") != std::string::npos) return Kind::Radio;
  if (name.find("combo") != std::string::npos) return Kind::Combo;
  if (name.find("button") != std::string::npos) return Kind::Button;
  if (name.find("label") != std::string::npos) return Kind::Label;
  return Kind::Other;
}

bool IsContainer(Kind kind) { return kind == Kind::Dialog || kind == Kind::Frame || kind == Kind::Group; }
bool IsRow(const DialogNode& node) { return node.alignment == "horz"; }

// Characters, not bytes: UTF-8 continuation bytes take no width.
int TextWidth(const std::string& text) {
  int characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c & 0xC0) == 0x80) continue;
    if (c == '&' && i + 1 < text.size()) continue;  // the mnemonic mark is not drawn
    ++characters;
  }
  return characters * kCharWidth;
}

std::string Escape(const std::string& text) { return SvgWriter::Escape(text); }

// The caption with its mnemonic letter underlined ("&&" is a plain "&").
std::string CaptionMarkup(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] == '&') {
        out += "&amp;";
        continue;
      }
      size_t length = 1;
      while (i + length < caption.size() && (static_cast<unsigned char>(caption[i + length]) & 0xC0) == 0x80)
        ++length;
      out += "<tspan text-decoration=\"underline\">" + Escape(caption.substr(i, length)) + "</tspan>";
      i += length - 1;
      continue;
    }
    out += Escape(std::string(1, caption[i]));
  }
  return out;
}

class Drawing {
 public:
  Box Measure(const DialogNode& node) const {
    const Kind kind = KindOf(node);
    const int text = TextWidth(node.caption);
    switch (kind) {
      case Kind::Button: return {std::max(text + 20, 36), 24};
      case Kind::Check:
      case Kind::Radio: return {text + 22, 20};
      case Kind::Label: return {text + 4, 20};
      case Kind::Combo: {
        int widest = 60;
        for (const std::string& item : node.items) widest = std::max(widest, TextWidth(item));
        return {widest + 34, listsOpen_ ? 22 + static_cast<int>(node.items.size()) * kItemHeight + 4 : 22};
      }
      case Kind::Other: return {text + 8, 20};
      default: break;
    }
    Box inner = Content(node);
    const Inset inset = InsetOf(node);
    return {std::max(inner.width, kind == Kind::Dialog || kind == Kind::Group ? text + 24 : 0) + inset.left +
                inset.right,
            inner.height + inset.top + inset.bottom};
  }

  void Draw(const DialogNode& node, int x, int y, int width, int height) {
    const Kind kind = KindOf(node);
    const std::string text = node.enabled ? "#000" : "#999";
    switch (kind) {
      case Kind::Dialog:
        Add("<rect x='" + N(x) + "' y='" + N(y) + "' width='" + N(width) + "' height='" + N(height) +
            "' fill='#f0f0f0' stroke='#555'/>");
        Add("<rect x='" + N(x) + "' y='" + N(y) + "' width='" + N(width) + "' height='" +
            N(kTitleHeight - 4) + "' fill='#3a6ea5'/>");
        Text(node.caption, x + 8, y + 15, "#fff", "start", true);
        break;
      case Kind::Frame: break;  // layout only: a real dialog draws nothing for it
      case Kind::Group:
        Add("<rect x='" + N(x) + "' y='" + N(y + 7) + "' width='" + N(width) + "' height='" + N(height - 7) +
            "' rx='3' fill='none' stroke='#999'/>");
        Add("<rect x='" + N(x + 6) + "' y='" + N(y) + "' width='" + N(TextWidth(node.caption) + 6) +
            "' height='14' fill='#f0f0f0'/>");
        Text(node.caption, x + 9, y + 11, text, "start");
        break;
      case Kind::Button:
        Add("<rect x='" + N(x) + "' y='" + N(y) + "' width='" + N(width) + "' height='" + N(height) +
            "' rx='3' fill='" + (node.enabled ? "#fdfdfd" : "#e8e8e8") + "' stroke='" +
            (node.enabled ? "#707070" : "#bbb") + "'/>");
        Text(node.caption, x + width / 2, y + height / 2 + 4, text, "middle");
        if (!marked_.empty() && node.caption == marked_) {
          Add("<rect class='marked' x='" + N(x - 3) + "' y='" + N(y - 3) + "' width='" + N(width + 6) +
              "' height='" + N(height + 6) + "' rx='5' fill='none' stroke='#ff7f0e' stroke-width='3'/>");
        }
        break;
      case Kind::Check:
        Add("<rect x='" + N(x + 2) + "' y='" + N(y + 4) + "' width='12' height='12' fill='#fff' stroke='" +
            (node.enabled ? "#555" : "#bbb") + "'/>");
        if (node.checked) {
          Add("<path d='M" + N(x + 4) + " " + N(y + 10) + " l3 3 l6 -7' fill='none' stroke='" + text +
              "' stroke-width='2'/>");
        }
        Text(node.caption, x + 20, y + 14, text, "start");
        break;
      case Kind::Radio:
        Add("<circle cx='" + N(x + 8) + "' cy='" + N(y + 10) + "' r='6' fill='#fff' stroke='" +
            (node.enabled ? "#555" : "#bbb") + "'/>");
        if (node.checked)
          Add("<circle cx='" + N(x + 8) + "' cy='" + N(y + 10) + "' r='3' fill='" + text + "'/>");
        Text(node.caption, x + 20, y + 14, text, "start");
        break;
      case Kind::Combo: DrawCombo(node, x, y, width); break;
      case Kind::Label:
      case Kind::Other: Text(node.caption, x + 2, y + 14, text, "start"); break;
    }
    if (!IsContainer(kind)) return;
    const Inset inset = InsetOf(node);
    LayOut(node, x + inset.left, y + inset.top, width - inset.left - inset.right,
           height - inset.top - inset.bottom);
  }

  Drawing(bool listsOpen, const std::string& marked) : listsOpen_(listsOpen), marked_(marked) {}

  std::string Finish(const Box& size) const { return svg_.Finish(size.width, size.height); }

 private:
  struct Inset {
    int left, top, right, bottom;
  };

  static std::string N(int value) { return std::to_string(value); }

  static Inset InsetOf(const DialogNode& node) {
    switch (KindOf(node)) {
      case Kind::Dialog: return {kGap, kTitleHeight, kGap, kGap};
      case Kind::Group: return {kGroupPad, kGroupTop, kGroupPad, kGroupPad};
      case Kind::Frame: return {2, 2, 2, 2};
      default: return {0, 0, 0, 0};
    }
  }

  Box Content(const DialogNode& node) const {
    Box box;
    const bool row = IsRow(node);
    for (size_t i = 0; i < node.children.size(); ++i) {
      const Box child = Measure(node.children[i]);
      const int gap = i == 0 ? 0 : kGap;
      if (row) {
        box.width += gap + child.width;
        box.height = std::max(box.height, child.height);
      } else {
        box.height += gap + child.height;
        box.width = std::max(box.width, child.width);
      }
    }
    return box;
  }

  // Children in a row keep their width, except those with "horzlayout"
  // "fill", which share the spare width; in a column every child takes the
  // column's width.
  void LayOut(const DialogNode& node, int x, int y, int width, int height) {
    if (IsRow(node)) {
      const Box content = Content(node);
      int fillers = 0;
      for (const DialogNode& child : node.children) fillers += child.horzLayout == "fill" ? 1 : 0;
      const int spare = std::max(0, width - content.width);
      int at = x;
      for (const DialogNode& child : node.children) {
        Box size = Measure(child);
        if (child.horzLayout == "fill") size.width += spare / fillers;
        const int childHeight = IsContainer(KindOf(child)) ? height : size.height;
        Draw(child, at, y + (height - childHeight) / 2, size.width, childHeight);
        at += size.width + kGap;
      }
    } else {
      int at = y;
      for (const DialogNode& child : node.children) {
        const Box size = Measure(child);
        const Kind kind = KindOf(child);
        const bool stretch = IsContainer(kind) || kind == Kind::Button || kind == Kind::Combo;
        Draw(child, x, at, stretch ? width : size.width, size.height);
        at += size.height + kGap;
      }
    }
  }

  void DrawCombo(const DialogNode& node, int x, int y, int width) {
    const std::string color = node.enabled ? "#000" : "#999";
    const std::string current =
        node.currentIndex >= 0 && static_cast<size_t>(node.currentIndex) < node.items.size()
            ? node.items[node.currentIndex]
            : "";
    Add("<rect x='" + N(x) + "' y='" + N(y) + "' width='" + N(width) +
        "' height='22' fill='#fff' stroke='#707070'/>");
    Add("<path d='M" + N(x + width - 15) + " " + N(y + 9) + " l5 5 l5 -5' fill='none' stroke='#333'/>");
    Text(current, x + 5, y + 15, color, "start");
    if (!listsOpen_) return;
    // The items, as the open list shows them, the current one highlighted.
    const int listTop = y + 24;
    Add("<rect x='" + N(x) + "' y='" + N(listTop) + "' width='" + N(width) + "' height='" +
        N(static_cast<int>(node.items.size()) * kItemHeight + 2) + "' fill='#fff' stroke='#bbb'/>");
    for (size_t i = 0; i < node.items.size(); ++i) {
      const int top = listTop + 1 + static_cast<int>(i) * kItemHeight;
      const bool isCurrent = static_cast<int>(i) == node.currentIndex;
      if (isCurrent) {
        Add("<rect x='" + N(x + 1) + "' y='" + N(top) + "' width='" + N(width - 2) + "' height='" +
            N(kItemHeight) + "' fill='#cce4f7'/>");
      }
      Add("<text x='" + N(x + 5) + "' y='" + N(top + 12) + "' fill='" + color + "'>" + Escape(node.items[i]) +
          "</text>");
    }
  }

  void Text(const std::string& caption, int x, int y, const std::string& color, const char* anchor,
            bool bold = false) {
    Add("<text x='" + N(x) + "' y='" + N(y) + "' fill='" + color + "' text-anchor='" + anchor + "'" +
        (bold ? " font-weight='bold'" : "") + ">" + CaptionMarkup(caption) + "</text>");
  }

  void Add(const std::string& element) { svg_.Add(element); }

  bool listsOpen_;
  std::string marked_;
  SvgWriter svg_;
};

}  // namespace

std::string DialogSvg(const DialogNode& dialog, bool listsOpen, const std::string& marked) {
  Drawing drawing(listsOpen, marked);
  const Box size = drawing.Measure(dialog);
  drawing.Draw(dialog, 0, 0, size.width, size.height);
  return drawing.Finish(size);
}

namespace {

DialogNode FromSnapshot(const mqhost::WidgetSnapshot& widget) {
  DialogNode node;
  node.className = widget.className;
  node.caption = widget.caption;
  node.enabled = widget.enabled;
  node.checked = widget.checked;
  node.alignment = widget.alignment;
  node.horzLayout = widget.horzLayout;
  node.items = widget.items;
  node.currentIndex = widget.currentIndex;
  for (const mqhost::WidgetSnapshot& child : widget.children) node.children.push_back(FromSnapshot(child));
  return node;
}

}  // namespace

bool LastDialogTree(DialogNode* dialog) {
  mqhost::WidgetSnapshot snapshot = mqhost::ClosingDialogSnapshot();
  if (snapshot.id == 0) snapshot = mqhost::LastDialogSnapshot();
  if (snapshot.id == 0) return false;
  *dialog = FromSnapshot(snapshot);
  return true;
}

}  // namespace runner
