// The page's event loop as the C++ side sees it: when the page may call in, one pass of the
// loop for a search, and the end of the program.

mergeInto(LibraryManager.library, {
    // The page's guard. C++ is built without catching exceptions, so one that escapes a handler
    // (a click, a search resumed, the start-up) reaches the page as an uncaught error: a number,
    // where C++ threw it, or a rejected wait. It is reported once and the page ends.
    $application__postset: 'application.guard();',
    $application: {
        resume: function () {
            var wake = application.wake;
            application.wake = null;
            wake();
        },

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

        // C++ is waiting on the page (a message, a search's event pass) or has ended: no calls
        // in. This is what keeps clicks and keys out of a search, as a disabled board does.
        busy: true,
        stopped: false,
        wake: null, // resumes the search waiting in its event pass
        pass: null, // ends the pass: resumes the search in a task of its own

        // Not a timer: nested timers are clamped to 4 ms, which would stretch a search of ten
        // thousand trials to most of a minute. The pass is a task of its own, after whatever
        // input and rendering the browser has waiting; which kind of task costs least differs
        // from engine to engine (docs/performance.md), so it is chosen by what the browser has.
        // Where there is a scheduler, a task posted to it: the cheapest in Chromium. Not
        // scheduler.yield, though it costs less still: its continuation goes before waiting input
        // in Firefox and before painting in Chromium, so clicks and the close request would wait
        // out the whole search. Elsewhere a message to the page itself: in WebKit a message port
        // costs ten times as much, its messages going through another process.
        choosePass: function () {
            if (typeof scheduler !== 'undefined' && typeof scheduler.postTask === 'function') {
                return function () {
                    scheduler.postTask(application.resume);
                };
            }
            // A constant message, told apart by coming from this very window, which no other
            // page can post as.
            addEventListener('message', function (event) {
                if (event.source === window && event.data === 'veltrin-pass') {
                    application.resume();
                }
            });
            // Any origin: opened from the file system, the page's own origin has no name.
            return function () {
                postMessage('veltrin-pass', '*');
            };
        },

        // Calls the exported `entry` for an event of the page, unless C++ is busy. An entry that
        // waits on the page returns at its first wait; it is done when Asyncify says so.
        enter: function (entry, arg) {
            if (application.busy || application.stopped) {
                return;
            }
            application.busy = true;
            entry(arg);
            var done = function () {
                application.busy = false;
            };
            if (Asyncify.currData) {
                Asyncify.whenDone().then(done);
            } else {
                done();
            }
        },
    },

    js_doEvents__deps: ['$application'],
    js_doEvents: function () {
        return Asyncify.handleSleep(function (wakeUp) {
            application.wake = wakeUp;
            application.pass = application.pass || application.choosePass();
            application.pass();
        });
    },

    js_stop__deps: ['$application'],
    js_stop: function () {
        application.stopped = true;
    },
});
