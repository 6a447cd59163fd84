// The page's event loop as the C++ side sees it: when the page may call in, the search driven
// one trial a task, and the end of the program.

mergeInto(LibraryManager.library, {
    // The page's guard. C++ is built without catching exceptions, so one that escapes a call in
    // (a click, a trial, a message dismissed) reaches the page as an uncaught error: a number,
    // where C++ threw it, in an error event or a rejected task. It is reported once and the page
    // ends.
    $application__postset: 'application.guard(); application.pass = application.choosePass();',
    $application: {
        guard: function () {
            var report = function (error) {
                if (!application.stopped) {
                    _veltrin_fatal(typeof error === 'number' ? error : 0);
                }
            };
            addEventListener('error', function (event) {
                report(event.error);
            });
            addEventListener('unhandledrejection', function (event) {
                report(event.reason);
            });
        },

        searching: false,
        stopped: false,

        // Whether the page may call in for a click or a key: not during a search or while a
        // message is up, as a disabled board and a modal message take no input, and not once
        // the program has ended.
        idle: function () {
            return !application.searching && !application.stopped && !messagebox.up();
        },

        // Goes on with a search for as long as C++ says it goes on (`more`, from Solve's first
        // step or from the last trial): one trial a task. Between two trials the browser has
        // its turn: input, painting, and the tab's close.
        carryOn: function (more) {
            application.searching = more && !application.stopped;
            if (application.searching) {
                application.pass(application.trial);
            }
        },
        trial: function () {
            application.carryOn(_veltrin_trial());
        },

        // Runs `task` as a task of its own, after whatever input and rendering the browser has
        // waiting. Not a timer: nested timers are clamped to 4 ms, which would stretch a search
        // of ten thousand trials to most of a minute. Which kind of task costs least differs
        // from engine to engine (docs/performance.md), so it is chosen by what the browser has.
        // Where there is a scheduler, a task posted to it: the cheapest in Chromium. Not
        // scheduler.yield, though it costs less still: its continuation goes before waiting
        // input in Firefox and before painting in Chromium, so clicks and the close request
        // would wait out the whole search. Elsewhere a message to the page itself: in WebKit a
        // message port costs ten times as much, its messages going through another process.
        pass: null, // chosen once, at start
        choosePass: function () {
            if (typeof scheduler !== 'undefined' && typeof scheduler.postTask === 'function') {
                return function (task) {
                    scheduler.postTask(task);
                };
            }
            // A constant message, told apart by coming from this very window, which no other
            // page can post as.
            var waiting = null;
            addEventListener('message', function (event) {
                if (event.source === window && event.data === 'veltrin-pass') {
                    var task = waiting;
                    waiting = null;
                    task();
                }
            });
            // Any origin: opened from the file system, the page's own origin has no name.
            return function (task) {
                waiting = task;
                postMessage('veltrin-pass', '*');
            };
        },
    },

    $application__deps: ['$messagebox'],

    js_wantedLanguages__deps: ['$stringToNewUTF8'],
    js_wantedLanguages: function () {
        var wanted = navigator.languages ? navigator.languages.slice() : [navigator.language];
        // A link can choose the language: ?lang=pl.
        var asked = new URLSearchParams(location.search).get('lang');
        return stringToNewUTF8((asked ? [asked] : []).concat(wanted).join(','));
    },

    // `tag` is one of the catalogues' own, never what the address asked for, so it is safe to
    // write into the page.
    js_speak: function (tag, ok) {
        var language = UTF8ToString(tag);
        document.documentElement.lang = language;
        if (language !== 'en') {
            document.querySelector('link[rel=manifest]').href =
                'manifest.' + language + '.webmanifest';
        }
        document.querySelector('#message button').textContent = UTF8ToString(ok);
    },

    js_stop__deps: ['$application'],
    js_stop: function () {
        application.stopped = true;
    },
});
