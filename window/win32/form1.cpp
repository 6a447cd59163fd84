#include "window/win32/form1.h"

#include "solver/solver.h"
#include "solver/summary.h"
#include "window/design.h"
#include "window/language.h"
#include "window/win32/controls.h"
#include "window/win32/messagebox.h"
#include "window/win32/window.h"

#include <stdexcept>

namespace veltrin {

namespace {

constexpr wchar_t formClass[] = L"VeltrinForm1";
constexpr wchar_t boardClass[] = L"VeltrinPicture1";

// Control identifiers, clear of IDOK and IDCANCEL, which the dialog manager sends for Enter
// and Esc.
constexpr int firstSquareId = 100;
constexpr int command1Id = 200;
constexpr int setupId = 300;

// A small fixed tool window: a small caption with a close button, no resizing frame, no
// minimise or maximise button.
constexpr DWORD formStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD formExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

} // namespace

Form1::Form1(HINSTANCE instance) {
    // Once for the process, however many windows it makes.
    [[maybe_unused]] static const bool registered = [instance] {
        registerClass(instance, formClass, procedure<Form1, &Form1::handleMessage>,
                      LoadIconW(instance, L"IDI_ICON1"));
        registerClass(instance, boardClass, procedure<Form1, &Form1::picture1Message>, nullptr);
        return true;
    }();
    controls_.form = CreateWindowExW(
        formExStyle, formClass, widen(translate(design::windowTitle)).c_str(), formStyle,
        CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    if (!controls_.form) {
        throw std::runtime_error("the window could not be created");
    }
    // The board area holds the squares and the Solve button, so their notifications come to
    // its own procedure, which finds this object as the window's does.
    controls_.Picture1 = createChild(boardClass, "", WS_VISIBLE | WS_CLIPCHILDREN,
                                     WS_EX_CONTROLPARENT, hwnd(), 0, this);

    // Created in keyboard order, which is also the order in which they overlap: each square
    // lies under the one before it, as design::exposed has it.
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS;
    for (const int control : design::tabOrder) {
        if (control == design::solveButton) {
            controls_.Command1 =
                createChild(L"BUTTON", translate(design::solveCaption), button | BS_PUSHBUTTON, 0,
                            controls_.Picture1, command1Id);
        } else {
            // Named as the combination names it, for screen readers; it draws only its colour.
            controls_.S[static_cast<std::size_t>(control)] = createChild(
                L"BUTTON", translate(squareNames[static_cast<std::size_t>(control)].data()),
                button | BS_OWNERDRAW, 0, controls_.Picture1, firstSquareId + control);
        }
    }
    // The press mode lives in a check box the user never sees: checked is setup mode.
    controls_.Setup =
        createChild(L"BUTTON", design::setupCaption, BS_AUTOCHECKBOX, 0, hwnd(), setupId);
    SendMessageW(controls_.Setup, BM_SETCHECK, BST_CHECKED, 0);

    layout(static_cast<int>(GetDpiForWindow(hwnd())));
}

Form1::~Form1() {
    DestroyWindow(hwnd());
    DeleteObject(font_);
}

void Form1::startUp() {
    showMessage(nullptr, startUpText());
}

void Form1::show(int how) {
    ShowWindow(hwnd(), how);
    UpdateWindow(hwnd());
}

LRESULT Form1::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            platform_.keepFocus();
        } else {
            platform_.restoreFocus();
        }
        return 0;
    case WM_DPICHANGED: {
        layout(LOWORD(wParam)); // sizes the window for the new DPI; Windows suggests where
        const auto& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_CLOSE:
        // Ends the program at once, even in the middle of a search: nothing of it runs on.
        // Last, with nothing after it to run on into: the compiler sees that endProgram never
        // returns, and would tell us if it could.
        endProgram(0);
    }
}

LRESULT Form1::picture1Message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        // A locked board takes no input, whichever way it arrives. An owner-drawn button
        // reports a second click in quick succession as a double click: that is a click too.
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (platform_.locked() || (code != BN_CLICKED && code != BN_DOUBLECLICKED)) {
            return 0;
        }
        if (id == command1Id) {
            solve(board_, platform_, solution_, words_);
        } else if (id >= firstSquareId && id < firstSquareId + squareCount) {
            board_.pressSquare(id - firstSquareId);
        }
        return 0;
    }
    case WM_DRAWITEM: {
        // Only the squares are owner-drawn: any other item is an error, caught by shown().
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const int k = static_cast<int>(item.CtlID) - firstSquareId;
        platform_.painter().draw(item.hDC, k, platform_.shown(k), item.itemState, controls_.dpi);
        return TRUE;
    }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Form1::layout(int dpi) {
    controls_.dpi = dpi;
    RECT frame{0, 0, design::toPixels(design::clientWidth, dpi),
               design::toPixels(design::clientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, formStyle, FALSE, formExStyle, static_cast<UINT>(dpi));
    SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    place(controls_.Picture1, design::picture1, dpi);
    for (int k = 0; k < squareCount; ++k) {
        place(controls_.S[static_cast<std::size_t>(k)], design::square(k), dpi);
    }
    place(controls_.Command1, design::command1, dpi);
    place(controls_.Setup, design::setup, dpi);
    if (HFONT font = messageFont(dpi)) {
        SendMessageW(controls_.Command1, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        SendMessageW(controls_.Setup, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        DeleteObject(font_);
        font_ = font;
    }
}

} // namespace veltrin
