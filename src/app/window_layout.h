#pragma once
// The main window's controls and their places, free of any toolkit: every
// view (the Qt window, the native Windows window) builds its window from this
// one table.
//
// The table is in tab order. A view creates the controls in this order and
// lets the focus walk them in it; a label's access key moves the focus to the
// first control after the label that can take it.
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace chmbook {

// Every control of the window, under its name, in tab order. The commands
// drive the text boxes, List1, Check1 and the three buttons.
enum class Control {
    Frame1,        // frame: the list page's settings
    txtTitleName,  // text box: the book's title
    Label1,
    Label2,
    txtTitleDemo,  // multi-line box: head snippet of the list page
    txtFootDemo,   // multi-line box: foot snippet of the list page
    Label3,
    Frame2,        // frame: the content pages' settings
    txtPaperTop,   // multi-line box: head snippet of the content pages
    Label4,
    txtPaperFoot,  // multi-line box: foot snippet of the content pages
    Label5,
    Frame3,        // frame: the batch
    Text1,         // text box: the source folder (filled by the program only)
    Label6,
    Command1,      // button: Browse
    cmdRefresh,    // button: Refresh
    List1,         // list box: the file list, full paths of the TXT files
    Label8,
    txtAd,         // multi-line box: the notice on every page (filled by the program only)
    txtFile,       // multi-line box: the output path (filled by the program only)
    Label7,
    Check1,        // check box: delete the sources after the build
    cmdNext,       // button: Generate
};

enum class ControlKind { kFrame, kLabel, kLineBox, kMultiLineBox, kButton, kListBox, kCheckBox };

// Pixels at 96 dpi.
struct PixelRect {
    int left, top, width, height;
};

struct ControlLayout {
    Control control;
    const char* name;
    ControlKind kind;
    std::optional<Control> frame;  // the frame it stands in; none for the window itself
    PixelRect rect;                // from the top-left corner of its frame's outline, or of the client area
    const char16_t* caption;       // "&" marks the access key
    bool enabled;                  // Text1, txtFile and txtAd are only ever set by the program
    bool verticalScrollBar;
};

inline constexpr std::u16string_view kWindowCaption = u"批量将TXT生成CHM文件（TXT文件需要ANSI编码）";
inline constexpr int kClientWidth = 821;
inline constexpr int kClientHeight = 545;

// Label sizes are those of the default 9-point font; a view sizes each label
// to its caption in the font it actually uses.
inline constexpr std::array<ControlLayout, 24> kWindowLayout{{
    {Control::Frame1, "Frame1", ControlKind::kFrame, {}, {11, 9, 379, 313}, u"列表页设置", true, false},
    {Control::txtTitleName, "txtTitleName", ControlKind::kLineBox, Control::Frame1, {73, 107, 287, 18}, u"", true, false},
    {Control::Label1, "Label1", ControlKind::kLabel, Control::Frame1, {15, 109, 48, 12}, u"标题(&T):", true, false},
    {Control::Label2, "Label2", ControlKind::kLabel, Control::Frame1, {16, 135, 240, 12}, u"该CHM文件的描述说明（允许加入HTML代码）:", true, false},
    {Control::txtTitleDemo, "txtTitleDemo", ControlKind::kMultiLineBox, Control::Frame1, {12, 155, 356, 57}, u"", true, true},
    {Control::txtFootDemo, "txtFootDemo", ControlKind::kMultiLineBox, Control::Frame1, {12, 239, 356, 59}, u"", true, true},
    {Control::Label3, "Label3", ControlKind::kLabel, Control::Frame1, {16, 219, 210, 12}, u"该页面页脚信息（允许加入HTML代码）:", true, false},
    {Control::Frame2, "Frame2", ControlKind::kFrame, {}, {11, 333, 379, 202}, u"内容页设置", true, false},
    {Control::txtPaperTop, "txtPaperTop", ControlKind::kMultiLineBox, Control::Frame2, {11, 47, 356, 57}, u"", true, true},
    {Control::Label4, "Label4", ControlKind::kLabel, Control::Frame2, {15, 25, 246, 12}, u"该页面的头部信息说明（允许加入HTML代码）:", true, false},
    {Control::txtPaperFoot, "txtPaperFoot", ControlKind::kMultiLineBox, Control::Frame2, {11, 131, 356, 59}, u"", true, true},
    {Control::Label5, "Label5", ControlKind::kLabel, Control::Frame2, {15, 111, 210, 12}, u"该页面页脚信息（允许加入HTML代码）:", true, false},
    {Control::Frame3, "Frame3", ControlKind::kFrame, {}, {397, 9, 411, 526}, u"批量文件设置", true, false},
    {Control::Text1, "Text1", ControlKind::kLineBox, Control::Frame3, {15, 44, 383, 19}, u"", false, false},
    {Control::Label6, "Label6", ControlKind::kLabel, Control::Frame3, {15, 24, 186, 12}, u"请选择TXT文件所在的一个目录(&D):", true, false},
    {Control::Command1, "Command1", ControlKind::kButton, Control::Frame3, {249, 72, 70, 21}, u"浏览(&B)", true, false},
    {Control::cmdRefresh, "cmdRefresh", ControlKind::kButton, Control::Frame3, {328, 72, 70, 21}, u"刷新(&R)", true, false},
    {Control::List1, "List1", ControlKind::kListBox, Control::Frame3, {15, 106, 383, 292}, u"", true, true},
    {Control::Label8, "Label8", ControlKind::kLabel, Control::Frame1, {15, 22, 276, 12}, u"该CHM文件每一页的置顶信息（允许加入HTML代码）:", true, false},
    {Control::txtAd, "txtAd", ControlKind::kMultiLineBox, Control::Frame1, {12, 38, 356, 59}, u"", false, false},
    {Control::txtFile, "txtFile", ControlKind::kMultiLineBox, Control::Frame3, {13, 436, 275, 45}, u"", false, true},
    {Control::Label7, "Label7", ControlKind::kLabel, Control::Frame3, {13, 418, 144, 12}, u"CHM保存的文件名称及路径:", true, false},
    {Control::Check1, "Check1", ControlKind::kCheckBox, Control::Frame3, {13, 491, 289, 17}, u"在生成 CHM 电子书文件后删除原目标文件文件。", true, false},
    {Control::cmdNext, "cmdNext", ControlKind::kButton, Control::Frame3, {301, 421, 96, 78}, u"立即生成(&O)", true, false},
}};

constexpr std::size_t IndexOf(Control control) { return static_cast<std::size_t>(control); }
constexpr const ControlLayout& LayoutOf(Control control) { return kWindowLayout[IndexOf(control)]; }

// A control the user can put the keyboard focus on: enabled, neither frame nor label.
constexpr bool TakesFocus(const ControlLayout& row) {
    return row.enabled && row.kind != ControlKind::kFrame && row.kind != ControlKind::kLabel;
}

static_assert([] {
    for (std::size_t i = 0; i < kWindowLayout.size(); ++i) {
        if (IndexOf(kWindowLayout[i].control) != i) return false;
    }
    return true;
}(), "every control stands in the row of its tab place");

}  // namespace chmbook
