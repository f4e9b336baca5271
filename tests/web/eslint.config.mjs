// ESLint over the page's scripts and its tests: the recommended rules, browser globals for the
// site, node globals for the tests; no function of the page over 80 lines. Run from the top
// folder: see scripts/test-web.
import js from '@eslint/js';
import globals from 'globals';

export default [
  { basePath: '../..' },
  { ignores: ['**/node_modules/**', 'build*/**'] },
  js.configs.recommended,
  {
    files: ['src/web/site/**/*.js'],
    languageOptions: { sourceType: 'module', globals: { ...globals.browser } },
    // No function over 80 lines, blank lines and comments counted (as for the C++).
    rules: { 'max-lines-per-function': ['error', { max: 80 }] },
  },
  {
    files: ['src/web/site/sw.js'],
    languageOptions: { globals: { ...globals.serviceworker } },
  },
  {
    files: ['tests/web/**/*.mjs'],
    languageOptions: { sourceType: 'module', globals: { ...globals.node, ...globals.browser } },
  },
];
