#pragma once
// The controls of the main window as Windows creates them: kind, place at
// 96 dpi, caption and style. The table is in tab order, and the window creates
// the controls in this order, so the dialog manager's Tab order, and the rule
// that a label's access key moves the focus to the next control that can take
// it, both follow from it.
#include <array>

namespace chmbook::winui {

enum class Kind { kFrame, kLabel, kLineBox, kMultiLineBox, kButton, kListBox, kCheckBox };

enum ControlId : int {
    // Ids start above IDOK/IDCANCEL, which the dialog manager sends for Enter
    // and Esc: no control answers to them, so the window has no default button.
    kFrame1 = 100, kTxtTitleName, kLabel1, kLabel2, kTxtTitleDemo, kTxtFootDemo, kLabel3,
    kFrame2, kTxtPaperTop, kLabel4, kTxtPaperFoot, kLabel5,
    kFrame3, kText1, kLabel6, kCommand1, kCmdRefresh, kList1, kLabel8, kTxtAd, kTxtFile, kLabel7, kCheck1,
    kCmdNext,
};

struct Rect {
    int left, top, width, height;
};

struct ControlSpec {
    ControlId id;
    const char* name;  // the control's name, for tests and debugging
    Kind kind;
    ControlId frame;   // the frame it stands in; 0 for the window itself
    Rect rect;         // in pixels at 96 dpi, from the frame's top-left corner
    const wchar_t* caption;
    bool enabled;      // Text1, txtFile and txtAd are only ever set by the program
    bool verticalScrollBar;
};

inline constexpr int kClientWidth = 821;
inline constexpr int kClientHeight = 545;

// Label sizes are those of the default 9-point font; the window sizes each
// label to its caption in the font it actually uses.
inline constexpr std::array<ControlSpec, 24> kControls{{
    {kFrame1, "Frame1", Kind::kFrame, ControlId{}, {11, 9, 379, 313}, L"列表页设置", true, false},
    {kTxtTitleName, "txtTitleName", Kind::kLineBox, kFrame1, {73, 107, 287, 18}, L"", true, false},
    {kLabel1, "Label1", Kind::kLabel, kFrame1, {15, 109, 48, 12}, L"标题(&T):", true, false},
    {kLabel2, "Label2", Kind::kLabel, kFrame1, {16, 135, 240, 12}, L"该CHM文件的描述说明（允许加入HTML代码）:", true, false},
    {kTxtTitleDemo, "txtTitleDemo", Kind::kMultiLineBox, kFrame1, {12, 155, 356, 57}, L"", true, true},
    {kTxtFootDemo, "txtFootDemo", Kind::kMultiLineBox, kFrame1, {12, 239, 356, 59}, L"", true, true},
    {kLabel3, "Label3", Kind::kLabel, kFrame1, {16, 219, 210, 12}, L"该页面页脚信息（允许加入HTML代码）:", true, false},
    {kFrame2, "Frame2", Kind::kFrame, ControlId{}, {11, 333, 379, 202}, L"内容页设置", true, false},
    {kTxtPaperTop, "txtPaperTop", Kind::kMultiLineBox, kFrame2, {11, 47, 356, 57}, L"", true, true},
    {kLabel4, "Label4", Kind::kLabel, kFrame2, {15, 25, 246, 12}, L"该页面的头部信息说明（允许加入HTML代码）:", true, false},
    {kTxtPaperFoot, "txtPaperFoot", Kind::kMultiLineBox, kFrame2, {11, 131, 356, 59}, L"", true, true},
    {kLabel5, "Label5", Kind::kLabel, kFrame2, {15, 111, 210, 12}, L"该页面页脚信息（允许加入HTML代码）:", true, false},
    {kFrame3, "Frame3", Kind::kFrame, ControlId{}, {397, 9, 411, 526}, L"批量文件设置", true, false},
    {kText1, "Text1", Kind::kLineBox, kFrame3, {15, 44, 383, 19}, L"", false, false},
    {kLabel6, "Label6", Kind::kLabel, kFrame3, {15, 24, 186, 12}, L"请选择TXT文件所在的一个目录(&D):", true, false},
    {kCommand1, "Command1", Kind::kButton, kFrame3, {249, 72, 70, 21}, L"浏览(&B)", true, false},
    {kCmdRefresh, "cmdRefresh", Kind::kButton, kFrame3, {328, 72, 70, 21}, L"刷新(&R)", true, false},
    {kList1, "List1", Kind::kListBox, kFrame3, {15, 106, 383, 292}, L"", true, true},
    {kLabel8, "Label8", Kind::kLabel, kFrame1, {15, 22, 276, 12}, L"该CHM文件每一页的置顶信息（允许加入HTML代码）:", true, false},
    {kTxtAd, "txtAd", Kind::kMultiLineBox, kFrame1, {12, 38, 356, 59}, L"", false, false},
    {kTxtFile, "txtFile", Kind::kMultiLineBox, kFrame3, {13, 436, 275, 45}, L"", false, true},
    {kLabel7, "Label7", Kind::kLabel, kFrame3, {13, 418, 144, 12}, L"CHM保存的文件名称及路径:", true, false},
    {kCheck1, "Check1", Kind::kCheckBox, kFrame3, {13, 491, 289, 17}, L"在生成 CHM 电子书文件后删除原目标文件文件。", true, false},
    {kCmdNext, "cmdNext", Kind::kButton, kFrame3, {301, 421, 96, 78}, L"立即生成(&O)", true, false},
}};

}  // namespace chmbook::winui
