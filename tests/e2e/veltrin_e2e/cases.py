"""The cases: each gets a session and the program, and raises on a fault it finds."""

import time

from .game import APP, NAMES, SOLVE, STARTUP_TEXT, TEXTS, WINDOW, advance, golden
from .game import parse_result, polish_result
from . import harness
from .harness import Skipped, wait_for
from .program import Veltrin

CASES = []


def case(fn):
    CASES.append(fn)
    return fn


@case
def startup_message_first_clicks_cycle_one_square_and_a_short_solve(d, binary):
    """The whole life of the program, quick enough to run under a memory checker: the
    start-up message first and exact, clicks that each cycle one square, a solve (the fixed
    generator solves this board in four trials), and status 0 on closing."""
    v = Veltrin(d, binary)
    assert v.startup_window_was_hidden, "the window was up before the start-up message"
    assert v.startup_text == STARTUP_TEXT, repr(v.startup_text)
    model = "RRRRRRRRR"
    for k in (4, 0, 8, 4, 4, 2, 6, 1, 3, 5, 7, 8, 8):
        v.click_square(k)
        model = model[:k] + advance(model[k]) + model[k + 1 :]
        wait_for("board %s" % model, lambda: v.board() == model)
    v.enter("BWBRRBRRR")
    assert parse_result(v.solve()) != [0] * 9
    assert len(set(v.board())) == 1, v.board()
    v.quit()


@case
def a_fresh_run_gives_the_recorded_combinations_whatever_is_clicked_meanwhile(d, binary):
    """The first searches of a fresh run, as the core recorded them, on this front end: a
    uniform board first, which takes no press, until a search has gone on drawing from where
    the last one left the generator. Each search is made while a restless user clicks every
    square and Solve; each message must be the recorded one, to the byte, and the board left as
    the recorded search left it."""
    v = Veltrin(d, binary)
    drawn = False  # whether a search has drawn from the generator yet
    for search in golden():
        v.enter(search.board)
        got = v.solve(restless=search.trials > 0)
        assert got == search.text, (search.board, got)
        assert v.board() == search.solved, (search.board, v.board())
        if drawn and search.trials:
            break
        drawn = drawn or search.trials > 0
    print("    %d rounds of clicks during the searches" % v.restless_rounds)
    v.quit()


@case
def closing_during_a_search_ends_at_once(d, binary):
    v = Veltrin(d, binary)
    v.enter("WRBBBWRBW")  # the longest search from a fresh start: 64,138 trials
    v.click(8 + 60, 8 + 132)
    # The search is on once the board starts changing.
    wait_for("the search to start", lambda: v.board() != "WRBBBWRBW")
    started = time.monotonic()
    v.d.close_window(v.window)
    v.process.wait(timeout=10)
    took = time.monotonic() - started
    assert v.process.returncode == 0, v.exit_report()
    # A second; ten under a memory checker, which slows everything down.
    assert took < harness.TIMEOUT / 30, "took %.2f s to end" % took
    assert not v.find(APP), "a result message appeared"
    print("    closed mid-search in %.3f s" % took)


@case
def a_screen_reader_sees_the_window_and_follows_the_squares(d, binary):
    """The AT-SPI tree: a window titled "Veltrin Solver", nine push buttons named as the
    combination names them whose descriptions give their colours and follow clicks and a
    solve, the Solve button, no visible mode box; a press through the action interface
    advances that square alone."""
    if not d.reader:
        raise Skipped("no screen reader in this session")
    v = Veltrin(d, binary)
    frame = d.reader.window(v.process.pid, WINDOW)
    assert frame.getRoleName() in ("frame", "window"), frame.getRoleName()
    buttons = d.reader.descendants(frame, "push button")
    assert [b.name for b in buttons] == NAMES + [SOLVE], [b.name for b in buttons]
    assert not any(d.reader.showing(c) for c in d.reader.descendants(frame, "check box"))

    def heard():
        return "".join(
            {"red": "R", "blue": "B", "white": "W"}.get(b.description, "?") for b in buttons[:9]
        )

    assert heard() == "RRRRRRRRR", heard()
    v.click_square(4)
    wait_for("the description to follow a click", lambda: heard() == "RRRRBRRRR")
    d.reader.press(buttons[0])
    wait_for("a screen reader's press", lambda: v.board() == "BRRRBRRRR")
    assert heard() == "BRRRBRRRR", heard()
    parse_result(v.solve())
    reached = v.board()
    assert len(set(reached)) == 1, reached
    wait_for("the descriptions to follow the search", lambda: heard() == reached)
    v.quit()


@case
def a_polish_desktop_gets_polish_each_count_in_its_own_form(d, binary):
    """Started as a Polish user's desktop starts it (LANG=pl_PL.UTF-8, that locale generated):
    the start-up message, the window's caption, the squares as assistive technology names and
    describes them, and a fresh run's first search, its result copied and read line by line,
    all in Polish, each count in the form Polish gives it (1 raz, 2 razy, 0 razy)."""
    if not d.languages:
        raise Skipped("Qt's languages are checked where a screen reader reads them")
    if hasattr(d, "language"):  # Windows: its language, before any text
        assert d.language("pl") == "pl-PL", d.language("pl")
    pl = TEXTS["pl"]
    v = Veltrin(d, binary, language="pl")
    assert v.startup_text == pl["startUp"], repr(v.startup_text)
    assert d.names(v) == pl["squareNames"] + [pl["solveCaption"]], d.names(v)
    search = next(s for s in golden() if s.trials)
    v.enter(search.board)
    got = v.solve().split("\r\n")
    assert got == polish_result(search.text).split("\r\n"), got
    if d.reader:  # on Windows a square's colour is drawn, not told
        colours = [pl["colours"][c] for c in v.board()]
        wait_for("the colours' names", lambda: d.descriptions(v) == colours)
    v.quit()
