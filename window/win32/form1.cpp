#include "window/win32/form1.h"

#include "solver/solver.h"
#include "solver/summary.h"
#include "window/design.h"
#include "window/win32/messagebox.h"
#include "window/win32/text.h"

#include <exception>
#include <memory>
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

// Windows' colour layout is ours (0x00BBGGRR).
COLORREF toColorRef(Colour colour) {
    return static_cast<COLORREF>(colour);
}

void place(HWND control, const design::Rect& twips, int dpi) {
    const design::Rect r = design::toPixels(twips, dpi);
    SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The board area only holds the controls: their notifications are the window's business.
LRESULT CALLBACK boardProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND || message == WM_DRAWITEM) {
        return SendMessageW(GetParent(hwnd), message, wParam, lParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void registerClasses(HINSTANCE instance, WNDPROC formProc) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = formProc;
    form.hInstance = instance;
    form.hIcon = LoadIconW(instance, L"IDI_ICON1");
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = formClass;
    RegisterClassExW(&form);

    WNDCLASSEXW board = form;
    board.lpfnWndProc = boardProc;
    board.hIcon = nullptr;
    board.lpszClassName = boardClass;
    RegisterClassExW(&board);
}

HWND createControl(const wchar_t* cls, const std::string& text, DWORD style, HWND parent, int id) {
    return CreateWindowExW(0, cls, widen(text).c_str(), WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
                           nullptr);
}

} // namespace

Form1::Form1(HINSTANCE instance) {
    registerClasses(instance, windowProc);
    const std::wstring title = widen(design::windowTitle);
    hwnd_ = CreateWindowExW(formExStyle, formClass, title.c_str(), formStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    if (!hwnd_) {
        throw std::runtime_error("the window could not be created");
    }
    Picture1 = CreateWindowExW(WS_EX_CONTROLPARENT, boardClass, L"",
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, hwnd_, nullptr,
                               instance, nullptr);

    // Created in keyboard order, which is also the order in which they overlap: each square
    // lies under the one before it, so a square's last column lies under its right-hand
    // neighbour and its last row under the square below it (or the Solve button).
    for (const int control : design::tabOrder) {
        if (control == design::solveButton) {
            Command1 = createControl(L"BUTTON", design::solveCaption,
                                     WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_PUSHBUTTON,
                                     Picture1, command1Id);
        } else {
            // Named as the combination names it: this is what a screen reader reads. The
            // square draws only its colour.
            S[static_cast<std::size_t>(control)] = createControl(
                L"BUTTON", std::string(squareNames[static_cast<std::size_t>(control)]),
                WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_OWNERDRAW, Picture1,
                firstSquareId + control);
        }
    }
    // The press mode lives in a check box the user never sees: checked is setup mode.
    Setup = createControl(L"BUTTON", design::setupCaption, BS_AUTOCHECKBOX, hwnd_, setupId);
    SendMessageW(Setup, BM_SETCHECK, BST_CHECKED, 0);

    frameBrush_ = CreateSolidBrush(RGB(64, 64, 64));
    for (std::size_t v = 0; v < colors.size(); ++v) {
        colourBrushes_[v] = CreateSolidBrush(toColorRef(colors[v]));
    }
    platform_ = std::make_unique<Win32Platform>(S, Setup, Picture1, hwnd_, paintSquares, this);
    board_ = std::make_unique<Board>(*platform_);
    layout(static_cast<int>(GetDpiForWindow(hwnd_)));
}

Form1::~Form1() {
    DestroyWindow(hwnd_);
    DeleteObject(font_);
    DeleteObject(frameBrush_);
    for (HBRUSH brush : colourBrushes_) {
        DeleteObject(brush);
    }
}

void Form1::startUp() {
    showMessage(nullptr, design::startUpText);
}

void Form1::show(int how) {
    ShowWindow(hwnd_, how);
    UpdateWindow(hwnd_);
}

int Form1::messageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // The dialog manager gives the window Tab and Shift+Tab between its controls, and
        // Space on a focused button.
        if (!IsDialogMessageW(hwnd_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK Form1::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form || !form->hwnd_) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // Nothing may unwind through Windows' own frames: an error ends the program here, with
    // a report.
    try {
        return form->handleMessage(message, wParam, lParam);
    } catch (const std::exception& e) {
        fatalError(e.what());
    } catch (...) {
        fatalError("unknown exception");
    }
}

LRESULT Form1::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DRAWITEM:
        drawSquare(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
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
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void Form1::onCommand(int id, int code) {
    // A locked board takes no input, whichever way it arrives.
    if (!IsWindowEnabled(Picture1)) {
        return;
    }
    // An owner-drawn button reports a second click in quick succession as a double click.
    const bool clicked = code == BN_CLICKED || code == BN_DOUBLECLICKED;
    if (clicked && id >= firstSquareId && id < firstSquareId + squareCount) {
        board_->pressSquare(id - firstSquareId);
    } else if (code == BN_CLICKED && id == command1Id) {
        solve();
    }
}

void Form1::onActivate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(Picture1, focus)) {
            focus_ = focus;
        }
        return;
    }
    // As in a dialog: the focus comes back to the control that had it, or to the first one.
    // While the board is locked the window keeps it, so no key reaches a control.
    SetFocus(!IsWindowEnabled(Picture1) ? hwnd_ : focus_ ? focus_ : Command1);
}

void Form1::onDpiChanged(int dpi, const RECT& suggested) {
    layout(dpi);
    RECT frame{0, 0, 0, 0};
    GetWindowRect(hwnd_, &frame);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::layout(int dpi) {
    dpi_ = dpi;
    RECT frame{0, 0, design::toPixels(design::clientWidth, dpi),
               design::toPixels(design::clientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, formStyle, FALSE, formExStyle, static_cast<UINT>(dpi));
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    place(Picture1, design::picture1, dpi);
    for (int k = 0; k < squareCount; ++k) {
        place(S[static_cast<std::size_t>(k)], design::square(k), dpi);
    }
    place(Command1, design::command1, dpi);
    place(Setup, design::setup, dpi);

    // The system's message font at this DPI, as the standard dialogs use.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                   static_cast<UINT>(dpi))) {
        HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
        SendMessageW(Command1, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        SendMessageW(Setup, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        DeleteObject(font_);
        font_ = font;
    }
}

void Form1::drawSquare(const DRAWITEMSTRUCT& item) const {
    const int k = static_cast<int>(item.CtlID) - firstSquareId;
    if (!platform_ || k < 0 || k >= squareCount) {
        return;
    }
    // The frame thickens while the square is held down, as a button's bevel would.
    const int border = MulDiv((item.itemState & ODS_SELECTED) ? 2 : 1, dpi_, 96);
    fillSquare(item.hDC, item.rcItem, platform_->colour(k), border);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT mark = item.rcItem;
        const int inset = MulDiv(4, dpi_, 96);
        InflateRect(&mark, -inset, -inset);
        DrawFocusRect(item.hDC, &mark);
    }
}

void Form1::fillSquare(HDC dc, RECT r, Colour colour, int border) const {
    // A thin frame keeps neighbouring squares of one colour apart.
    FillRect(dc, &r, frameBrush_);
    InflateRect(&r, -border, -border);
    for (std::size_t v = 0; v < colors.size(); ++v) {
        if (colors[v] == colour) {
            FillRect(dc, &r, colourBrushes_[v]);
            return;
        }
    }
    HBRUSH own = CreateSolidBrush(toColorRef(colour));
    FillRect(dc, &r, own);
    DeleteObject(own);
}

void Form1::paintSquares(void* self, HDC dc, unsigned squares) {
    const auto& form = *static_cast<const Form1*>(self);
    const int pitch = design::toPixels(design::squarePitch, form.dpi_);
    for (int k = 0; k < squareCount; ++k) {
        if (!(squares & (1u << k))) {
            continue;
        }
        const design::Rect r = design::toPixels(design::square(k), form.dpi_);
        // Only what is not under the square's neighbours (or the Solve button), as the
        // square's own paint would be clipped.
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, r.left, r.top, r.left + (k % 3 == 2 ? r.width : pitch),
                          r.top + pitch);
        form.fillSquare(dc, RECT{r.left, r.top, r.left + r.width, r.top + r.height},
                        form.platform_->colour(k), MulDiv(1, form.dpi_, 96));
        RestoreDC(dc, saved);
    }
}

void Form1::solve() {
    veltrin::solve(*board_, *platform_, solution_);
}

void Form1::closeDown() {
    // Ends the program at once, even in the middle of a search: nothing of it runs on.
    ExitProcess(0);
}

} // namespace veltrin
