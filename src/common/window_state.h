#pragma once
// The state of the main window as the page rendering and the book build see it.
//
// The window owns every value; the build reads each one through this interface
// at the moment it needs it, so the window, the command line and the tests all
// drive the same code. Members are named after the controls they stand for.
#include <cstddef>
#include <string>

namespace chmbook {

class WindowState {
public:
    virtual ~WindowState() = default;

    // Text boxes.
    virtual std::u16string Text1() const = 0;         // source folder
    virtual std::u16string txtTitleName() const = 0;  // book title
    virtual std::u16string txtFile() const = 0;       // output path of the book
    virtual std::u16string txtAd() const = 0;         // notice on every page
    virtual std::u16string txtTitleDemo() const = 0;  // head snippet, list page
    virtual std::u16string txtFootDemo() const = 0;   // foot snippet, list page
    virtual std::u16string txtPaperTop() const = 0;   // head snippet, content pages
    virtual std::u16string txtPaperFoot() const = 0;  // foot snippet, content pages

    // Check box: 1 when ticked (delete the sources after the build), else 0.
    virtual int Check1() const = 0;

    // List box: full paths of the source files, in list order.
    virtual std::size_t List1ListCount() const = 0;
    virtual std::u16string List1List(std::size_t index) const = 0;

    // The program's folder (no trailing separator except at a root). The
    // window answers with the executable's folder; tests answer with a
    // scratch folder so that parallel suites never share a work folder.
    virtual std::u16string AppPath() const = 0;

    // The window's mouse pointer: kDefaultPointer or kBusyPointer.
    virtual void SetMousePointer(int pointer) = 0;
    // Let the window process its pending events once.
    virtual void DoEvents() = 0;

    static constexpr int kDefaultPointer = 0;
    static constexpr int kBusyPointer = 13;
};

}  // namespace chmbook
