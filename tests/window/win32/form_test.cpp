// The Win32 window in process, under Wine: its layout at the screen's DPI (VELTRIN_TEST_DPI)
// and at another, style, names, keyboard order (Tab, Space, Enter and Esc) and the focus
// across a search and a switch away; a quick second click; the board locked during a search; the
// heap over fifty searches.

#include "support/boards.h"
#include "support/golden.h"
#include "support/texts.h"
#include "support/win32_messages.h"
#include "window/language.h"
#include "window/win32/application.h"
#include "window/win32/form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <malloc.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace veltrin;
using test::textOf;

// A control as placed: class, text, left, top, width and height in its container, visible.
using Placed = std::tuple<std::string, std::string, int, int, int, int, bool>;

struct Window : ::testing::Test {
    // The window shown and in front, as the user has it.
    void activate() const {
        form.show(SW_SHOWNORMAL);
        SetForegroundWindow(form.hwnd());
        handleEvents(form.hwnd());
    }
    // A key pressed and released on the control that has the focus, through the program's
    // own message pump.
    void key(WPARAM vk) const {
        PostMessageW(GetFocus(), WM_KEYDOWN, vk, 0);
        PostMessageW(GetFocus(), WM_KEYUP, vk, 0xC0000000);
        handleEvents(form.hwnd());
    }

    // The controls in the order Windows keeps them: the board area, then what it holds.
    std::vector<HWND> controls() const {
        std::vector<HWND> found;
        for (HWND c = GetWindow(form.hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            found.push_back(c);
            for (HWND d = GetWindow(c, GW_CHILD); d; d = GetWindow(d, GW_HWNDNEXT)) {
                found.push_back(d);
            }
        }
        return found;
    }

    HWND control(const std::string& text) const {
        const std::vector<HWND> all = controls();
        return *std::find_if(all.begin(), all.end(), [&](HWND c) { return textOf(c) == text; });
    }
    HWND square(int k) const {
        return control(test::texts().squareNames[static_cast<std::size_t>(k)]);
    }

    // What the squares show, read off the screen a third of the way into each.
    std::string board() const {
        if (!IsWindowVisible(form.hwnd())) {
            activate();
        }
        UpdateWindow(form.hwnd());
        std::string b;
        for (int k = 0; k < 9; ++k) {
            RECT r;
            GetClientRect(square(k), &r);
            HDC dc = GetDC(square(k));
            b += test::letterOf(static_cast<Colour>(GetPixel(dc, r.right / 3, r.bottom / 3)));
            ReleaseDC(square(k), dc);
        }
        return b;
    }

    void click(HWND button) const { SendMessageW(button, BM_CLICK, 0, 0); }
    void enter(const std::string& pattern, const std::string& from = "RRRRRRRRR") const {
        test::clickIn(
            pattern, [&](int k) { click(square(k)); }, from);
    }

    test::MessageAnswers answers;
    mutable Form1 form{GetModuleHandleW(nullptr)};
};

TEST_F(Window, IsLaidOutFromTwipsAtTheScreensDpiAndAnotherAsASmallFixedToolWindow) {
    const auto& texts = test::texts();
    EXPECT_EQ(textOf(form.hwnd()), texts.windowTitle);
    EXPECT_TRUE(GetWindowLongW(form.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLongW(form.hwnd(), GWL_STYLE) &
                  (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              WS_SYSMENU);

    const char* screen = std::getenv("VELTRIN_TEST_DPI");
    ASSERT_TRUE(screen) << "VELTRIN_TEST_DPI names the screen's DPI";
    const int started = std::atoi(screen);
    for (const int dpi : {started, started == 96 ? 144 : 96}) {
        const auto px = [dpi](int twips) { return (twips * dpi + 720) / 1440; };
        if (dpi == started) {
            RECT client;
            GetClientRect(form.hwnd(), &client);
            EXPECT_EQ(client.right, px(2040)) << dpi << " DPI at start";
            EXPECT_EQ(client.bottom, px(2370)) << dpi << " DPI at start";
        } else {
            // As Windows tells a window that has moved to another monitor. (The frame stays
            // Wine's for the screen, so the client area is checked at the start only.)
            RECT suggested{0, 0, 0, 0};
            SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
        }
        // Class, text, place in its container, visible: as the twips put them.
        std::vector<Placed> expected{
            {"VeltrinPicture1", "", px(120), px(120), px(1935), px(2295), true},
            {"Button", texts.solveCaption, 0, px(1800), px(1815), px(375), true}};
        for (int k = 8; k >= 0; --k) {
            expected.emplace_back("Button", texts.squareNames[static_cast<std::size_t>(k)],
                                  px(k % 3 * 600), px(k / 3 * 600), px(615), px(615), true);
        }
        expected.emplace_back("Button", "Check1", 0, 0, px(855), px(195), false);
        std::vector<Placed> found;
        for (HWND c : controls()) {
            wchar_t cls[64];
            const int n = GetClassNameW(c, cls, 64);
            RECT r;
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
            found.emplace_back(std::string(cls, cls + n), textOf(c), r.left, r.top,
                               r.right - r.left, r.bottom - r.top,
                               GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE);
        }
        EXPECT_EQ(found, expected) << dpi << " DPI";
    }
}

TEST_F(Window, TheFocusWalksInKeyboardOrderAndStaysOnItsSquareAcrossASwitchAwayAndBack) {
    const auto& texts = test::texts();
    activate();
    SetFocus(control(texts.solveCaption));
    std::vector<std::string> order;
    for (int i = 0; i < 11; ++i) {
        key(VK_TAB);
        order.push_back(textOf(GetFocus()));
    }
    std::vector<std::string> expected(texts.squareNames.rbegin(), texts.squareNames.rend());
    expected.push_back(texts.solveCaption);
    expected.push_back(texts.squareNames[8]);
    EXPECT_EQ(order, expected);

    // The user turns to the game and back: Space presses the square they left, and Solve,
    // first in the window's keyboard order, has not taken the focus.
    HWND game = CreateWindowExW(0, L"STATIC", L"game", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                100, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(game);
    handleEvents(form.hwnd());
    ASSERT_NE(GetActiveWindow(), form.hwnd());
    activate();
    DestroyWindow(game);
    EXPECT_EQ(textOf(GetFocus()), texts.squareNames[8]);
    key(VK_SPACE);
    // Enter and Esc do nothing: the window has no default or cancel button.
    key(VK_RETURN);
    key(VK_ESCAPE);
    EXPECT_EQ(answers.texts, std::vector<std::string>{});
    // Windows reports a quick second click on an owner-drawn button as a double click.
    SendMessageW(GetParent(GetFocus()), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(GetFocus()), BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(GetFocus()));
    EXPECT_EQ(board(), "RRRRRRRRW");
}

TEST_F(Window, NothingReachesTheBoardDuringASearchAndTheFocusComesBackAfter) {
    // The first board of the golden file, solved from a fresh generator: clicks on every
    // square and on Solve, queued to arrive during the search, must change nothing. Solve,
    // clicked, has the focus again once the result is read, as before the search.
    const std::vector<test::Search> golden = test::goldenSearches();
    const auto first = std::find_if(golden.begin(), golden.end(),
                                    [](const test::Search& s) { return s.trials > 0; });
    ASSERT_NE(first, golden.end());
    enter(first->board);
    activate();
    for (int k = 0; k < 9; ++k) {
        PostMessageW(square(k), BM_CLICK, 0, 0);
    }
    PostMessageW(control(test::texts().solveCaption), BM_CLICK, 0, 0);
    click(control(test::texts().solveCaption));
    ASSERT_EQ(answers.texts, std::vector<std::string>{first->message});
    EXPECT_EQ(form.solution().size(), first->trials);
    EXPECT_EQ(textOf(GetFocus()), test::texts().solveCaption);
    handleEvents(form.hwnd()); // nothing was left queued to act after the search
    EXPECT_EQ(answers.texts.size(), 1u);
    const std::string reached = this->board();
    EXPECT_EQ(reached, std::string(9, reached[0]));
}

TEST_F(Window, FiftySearchesKeepWhatTheHeapHoldsFlat) {
    const long long growth = test::heapGrowthOverFiftySearches(
        [&](const std::string& to, const std::string& from) { enter(to, from); },
        [&] {
            click(control(test::texts().solveCaption));
            answers.texts.clear(); // the test's own memory
            return form.solution();
        },
        [] {
            _HEAPINFO entry{};
            std::size_t used = 0;
            while (_heapwalk(&entry) == _HEAPOK) {
                used += entry._useflag == _USEDENTRY ? entry._size : 0;
            }
            return used;
        });
    EXPECT_LT(growth, 16 * 1024) << "more bytes in use after 50 searches than after 5";
}

} // namespace

namespace {

// Solve's caption in every language, measured in the button's own font at the screen's DPI.
// The pseudo-language's longer texts show where the layout is tight: reported, not failed.
TEST(Languages, EveryLanguageFitsTheSolveButton) {
    std::string widths; // every language's, needed/room in px
    for (const Catalogue& catalogue : catalogues()) {
        chooseLanguage({catalogue.language});
        Form1 form(GetModuleHandleW(nullptr));
        HWND solve = GetDlgItem(GetWindow(form.hwnd(), GW_CHILD), 200);
        ASSERT_TRUE(solve);
        const std::string caption = textOf(solve);
        wchar_t wide[256];
        const int length = GetWindowTextW(solve, wide, 256);
        HDC dc = GetDC(solve);
        const HGDIOBJ font =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(solve, WM_GETFONT, 0, 0)));
        SIZE needed{};
        GetTextExtentPoint32W(dc, wide, length, &needed);
        SelectObject(dc, font);
        ReleaseDC(solve, dc);
        RECT room;
        GetClientRect(solve, &room);
        // A push button's text keeps clear of its frame and focus mark: a few pixels a side.
        const int inside = room.right - 2 * MulDiv(4, GetDpiForWindow(solve), 96);
        const std::string overflow = std::string(catalogue.language) + ": " + caption + " needs " +
                                     std::to_string(needed.cx) + " px, has " +
                                     std::to_string(inside);
        widths += std::string(catalogue.language) + " " + std::to_string(needed.cx) + "/" +
                  std::to_string(inside) + " ";
        if (std::string(catalogue.language) != "en@pseudo") {
            EXPECT_LE(needed.cx, inside) << overflow;
        }
    }
    chooseLanguage({});
    std::printf("Solve!, needed/room in px: %s\n", widths.c_str());
}

} // namespace
