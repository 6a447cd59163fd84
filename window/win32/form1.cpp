#include "window/win32/form1.h"

#include "solver/solver.h"
#include "solver/summary.h"
#include "window/design.h"
#include "window/win32/controls.h"
#include "window/win32/messagebox.h"

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

// The board area holds the squares and the Solve button, so their notifications come to it;
// it passes them on to the window, which handles them.
LRESULT CALLBACK boardProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND || message == WM_DRAWITEM) {
        return SendMessageW(GetParent(hwnd), message, wParam, lParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

Form1::Form1(HINSTANCE instance) {
    // Once for the process, however many windows it makes.
    [[maybe_unused]] static const bool registered = [instance] {
        registerClass(instance, formClass, procedure, LoadIconW(instance, L"IDI_ICON1"));
        registerClass(instance, boardClass, boardProcedure, nullptr);
        return true;
    }();
    create(formClass, widen(design::windowTitle).c_str(), formStyle, formExStyle, instance);
    Picture1 =
        createChild(boardClass, "", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, hwnd(), 0);

    // Created in keyboard order, which is also the order in which they overlap: each square
    // lies under the one before it, as design::exposed has it.
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS;
    for (const int control : design::tabOrder) {
        if (control == design::solveButton) {
            Command1 = createChild(L"BUTTON", design::solveCaption, button | BS_PUSHBUTTON, 0,
                                   Picture1, command1Id);
        } else {
            // Named as the combination names it, for screen readers; it draws only its colour.
            S[static_cast<std::size_t>(control)] =
                createChild(L"BUTTON", squareNames[static_cast<std::size_t>(control)],
                            button | BS_OWNERDRAW, 0, Picture1, firstSquareId + control);
        }
    }
    // The press mode lives in a check box the user never sees: checked is setup mode.
    Setup = createChild(L"BUTTON", design::setupCaption, BS_AUTOCHECKBOX, 0, hwnd(), setupId);
    SendMessageW(Setup, BM_SETCHECK, BST_CHECKED, 0);

    colours_.fill(colors[0]);
    layout(static_cast<int>(GetDpiForWindow(hwnd())));
}

Form1::~Form1() {
    DestroyWindow(hwnd());
    DeleteObject(font_);
}

void Form1::startUp() {
    showMessage(nullptr, design::startUpText());
}

void Form1::show(int how) {
    ShowWindow(hwnd(), how);
    UpdateWindow(hwnd());
}

LRESULT Form1::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DRAWITEM:
        onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_ACTIVATE:
        onActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        closeDown();
    default:
        return DefWindowProcW(hwnd(), message, wParam, lParam);
    }
}

void Form1::onCommand(int id, int code) {
    // A locked board takes no input, whichever way it arrives. An owner-drawn button reports
    // a second click in quick succession as a double click: that is a click as well.
    const bool clicked = code == BN_CLICKED || code == BN_DOUBLECLICKED;
    if (locked_ || !clicked) {
        return;
    }
    if (id >= firstSquareId && id < firstSquareId + squareCount) {
        board_.pressSquare(id - firstSquareId);
    } else if (id == command1Id) {
        veltrin::solve(board_, platform_, solution_);
    }
}

void Form1::onDrawItem(const DRAWITEMSTRUCT& item) {
    // Only the squares are owner-drawn: any other item is an error, caught by at().
    const int k = static_cast<int>(item.CtlID) - firstSquareId;
    painter_.draw(item.hDC, k, colours_.at(static_cast<std::size_t>(k)), item.itemState, dpi_);
}

void Form1::onActivate(bool active) {
    if (active) {
        restoreFocus();
    } else {
        keepFocus();
    }
}

void Form1::keepFocus() {
    HWND focus = GetFocus();
    focus_ = focus && IsChild(Picture1, focus) ? focus : focus_;
}

void Form1::restoreFocus() {
    // As in a dialog: the focus comes back to the control that had it, or to the first one.
    // While the board is locked the window keeps it, so no key reaches a control.
    SetFocus(locked_ ? hwnd() : focus_ ? focus_ : Command1);
}

void Form1::onDpiChanged(int dpi, const RECT& suggested) {
    layout(dpi); // sizes the window for the new DPI; Windows suggests where it goes
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::layout(int dpi) {
    dpi_ = dpi;
    RECT frame{0, 0, design::toPixels(design::clientWidth, dpi),
               design::toPixels(design::clientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, formStyle, FALSE, formExStyle, static_cast<UINT>(dpi));
    SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    place(Picture1, design::picture1, dpi);
    for (int k = 0; k < squareCount; ++k) {
        place(S[static_cast<std::size_t>(k)], design::square(k), dpi);
    }
    place(Command1, design::command1, dpi);
    place(Setup, design::setup, dpi);
    if (HFONT font = messageFont(dpi)) {
        SendMessageW(Command1, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        SendMessageW(Setup, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        DeleteObject(font_);
        font_ = font;
    }
}

void Form1::setSquareColour(int p, Colour colour) {
    colours_.at(static_cast<std::size_t>(p)) = colour;
    if (locked_) {
        changed_ |= 1u << p;
    } else { // the square paints every pixel: nothing to erase
        InvalidateRect(S.at(static_cast<std::size_t>(p)), nullptr, FALSE);
    }
}

void Form1::drawChanged() {
    // A search changes up to five squares a trial. Invalidating each would cost it a paint
    // message of its own, and under Wine several round trips to the server each; drawing
    // them together on one device context costs one.
    HDC dc = nullptr;
    for (int k = 0; k < squareCount; ++k) {
        if (changed_ & (1u << k)) {
            dc = dc ? dc : GetDCEx(Picture1, nullptr, DCX_CACHE);
            const design::Rect r = design::toPixels(design::square(k), dpi_);
            SetViewportOrgEx(dc, r.left, r.top, nullptr);
            painter_.draw(dc, k, colours_[static_cast<std::size_t>(k)], 0, dpi_);
        }
    }
    changed_ = 0;
    if (dc) {
        ReleaseDC(Picture1, dc);
    }
}

void Form1::lockBoard(bool locked) {
    // A disabled board area keeps the mouse from its controls, which keep their look; but a
    // control that has the keyboard focus would still take Space. So the window holds the
    // focus while the board is locked, and gives it back afterwards; in a window the user has
    // left, it does so when the user comes back.
    keepFocus();
    locked_ = locked;
    EnableWindow(Picture1, locked ? FALSE : TRUE);
    if (!locked) {
        drawChanged();
    }
    if (GetActiveWindow() == hwnd()) {
        restoreFocus();
    }
}

void Form1::closeDown() {
    // Ends the program at once, even in the middle of a search: nothing of it runs on.
    endProgram(0);
}

} // namespace veltrin
