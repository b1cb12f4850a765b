#pragma once
// A plain in-memory WindowState, for the command line and the tests.
#include <string>
#include <vector>

#include "common/window_state.h"

namespace chmbook {

class MemoryWindowState : public WindowState {
public:
    std::u16string text1;
    std::u16string titleName;
    std::u16string file;
    std::u16string ad;
    std::u16string titleDemo;
    std::u16string footDemo;
    std::u16string paperTop;
    std::u16string paperFoot;
    int check1 = 0;
    std::vector<std::u16string> list1;
    std::u16string appPath;

    // What the build did to the window, for callers that want to check it.
    int mousePointer = kDefaultPointer;
    std::vector<int> pointerHistory;
    int doEventsCalls = 0;

    std::u16string Text1() const override { return text1; }
    std::u16string txtTitleName() const override { return titleName; }
    std::u16string txtFile() const override { return file; }
    std::u16string txtAd() const override { return ad; }
    std::u16string txtTitleDemo() const override { return titleDemo; }
    std::u16string txtFootDemo() const override { return footDemo; }
    std::u16string txtPaperTop() const override { return paperTop; }
    std::u16string txtPaperFoot() const override { return paperFoot; }
    int Check1() const override { return check1; }
    std::size_t List1ListCount() const override { return list1.size(); }
    std::u16string List1List(std::size_t index) const override;
    std::u16string AppPath() const override { return appPath; }
    void SetMousePointer(int pointer) override;
    void DoEvents() override { ++doEventsCalls; }
};

}  // namespace chmbook
