// eslint's rules for every JavaScript file of ours: its recommended set, with the globals
// each file really has. Run from the source folder with --config, so that the patterns below
// are paths from there.
import js from '@eslint/js';
import globals from 'globals';

export default [
    js.configs.recommended,
    {
        // Lines of code and comments as wide as the C++'s; a string or a template (the page
        // a benchmark writes, a test's name) is left whole, as prettier leaves it.
        rules: {
            'max-len': [
                'error',
                { code: 100, ignoreStrings: true, ignoreTemplateLiterals: true, ignoreUrls: true },
            ],
        },
    },
    {
        // Node.js programs that drive a browser: the functions they hand to the page run
        // there, with the page's globals and what the page itself defines.
        files: ['**/*.mjs'],
        languageOptions: {
            globals: { ...globals.node, ...globals.browser, run: 'readonly', _sbrk: 'readonly' },
        },
    },
    {
        files: ['window/web/sw.js'],
        languageOptions: { sourceType: 'script', globals: globals.serviceworker },
    },
    {
        // Emscripten's JavaScript libraries, merged into the generated module, where each
        // library object ($form1 is form1), Emscripten's runtime and the exported C++
        // functions are in scope.
        files: ['window/web/application.js', 'window/web/form1.js', 'window/web/messagebox.js'],
        languageOptions: {
            sourceType: 'script',
            globals: {
                ...globals.browser,
                mergeInto: 'readonly',
                LibraryManager: 'readonly',
                UTF8ToString: 'readonly',
                stringToNewUTF8: 'readonly',
                application: 'readonly',
                form1: 'readonly',
                messagebox: 'readonly',
                _veltrin_fatal: 'readonly',
                _veltrin_pressSquare: 'readonly',
                _veltrin_solve: 'readonly',
                _veltrin_trial: 'readonly',
                _veltrin_messageDone: 'readonly',
            },
        },
    },
];
