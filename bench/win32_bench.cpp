// The Windows counterpart of search_bench: the cost of one trial of the real search in the
// real Win32 window, against the plainest Win32 loop doing the same work per trial (nine
// owner-drawn buttons, one message pass, one game press), same generator, same boards.
//
// Run it under Wine on an X server, or on Windows.

#include "bench/bench.h"
#include "solver/random.h"
#include "support/boards.h"
#include "support/win32_messages.h"
#include "window/design.h"
#include "window/win32/form1.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using bench::Clock;
using bench::Result;

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

HWND child(HWND parent, const std::string& text) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (HWND found = veltrin::test::textOf(c) == text ? c : child(c, text)) {
            return found;
        }
    }
    return nullptr;
}

Result realSearch(HINSTANCE instance) {
    const veltrin::test::MessageAnswers answers;
    Result total;
    for (const std::string& board : bench::boardsToRun()) {
        veltrin::Form1 form(instance);
        form.show(SW_SHOWNORMAL);
        pump();
        veltrin::test::clickIn(board, [&](int k) {
            SendMessageW(
                child(form.hwnd(), std::string(veltrin::squareNames[static_cast<std::size_t>(k)])),
                BM_CLICK, 0, 0);
        });
        pump();
        const std::size_t answered = answers.texts.size();
        const auto started = Clock::now();
        SendMessageW(child(form.hwnd(), veltrin::design::solveCaption), BM_CLICK, 0, 0);
        if (answers.texts.size() == answered) {
            std::fputs("Solve showed no result message\n", stderr);
            std::exit(1);
        }
        total.trials += static_cast<long>(form.solution().size());
        total.seconds += std::chrono::duration<double>(answers.answeredAt - started).count();
    }
    return total;
}

// ---- the baseline: nine owner-drawn buttons, each repainted in full with a fresh brush ----

std::array<int, 9> values{};

LRESULT CALLBACK plainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 255)};
        HBRUSH brush = CreateSolidBrush(colours[values[item.CtlID]]);
        FillRect(item.hDC, &item.rcItem, brush);
        DeleteObject(brush);
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

Result baselineSearch(HINSTANCE instance) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = plainProc;
    cls.hInstance = instance;
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = L"PlainBoard";
    RegisterClassW(&cls);
    Result total;
    for (const std::string& board : bench::boardsToRun()) {
        HWND window = CreateWindowW(L"PlainBoard", L"Plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                    160, 200, nullptr, nullptr, instance, nullptr);
        HWND buttons[9];
        for (int k = 0; k < 9; ++k) {
            values[k] = bench::valueOf(board[static_cast<std::size_t>(k)]);
            buttons[k] =
                CreateWindowW(L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                              8 + (k % 3) * 40, 8 + (k / 3) * 40, 41, 41, window,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(k)), instance, nullptr);
        }
        pump();
        const auto started = Clock::now();
        auto advance = [&](int k) {
            values[k] = (values[k] + 1) % 3;
            InvalidateRect(buttons[k], nullptr, TRUE);
        };
        total.trials += bench::plainSearch(values, pump, advance);
        total.seconds += std::chrono::duration<double>(Clock::now() - started).count();
        DestroyWindow(window);
    }
    return total;
}

} // namespace

int main() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    std::printf("Win32, %zu boards\n", bench::boardsToRun().size());
    return bench::compare(realSearch(instance), baselineSearch(instance));
}
