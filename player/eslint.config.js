// ESLint's recommended rules for the player's scripts (browser, loaded as plain
// scripts that may also be required by node's tests) and its node tools.
'use strict';
const js = require('@eslint/js');
const globals = require('globals');

module.exports = [
  js.configs.recommended,
  // The player's syntax needs a name in every catch, used or not.
  { rules: { 'no-unused-vars': ['error', { caughtErrors: 'none' }] } },
  {
    files: ['src/**/*.js'],
    languageOptions: {
      ecmaVersion: 2020,
      sourceType: 'script',
      globals: { ...globals.browser, module: 'readonly', require: 'readonly' }
    },
    rules: {
      // The readers drop control characters from the book's untrusted text on purpose.
      'no-control-regex': 'off'
    }
  },
  {
    files: ['tools/**/*.js', 'eslint.config.js'],
    languageOptions: { ecmaVersion: 2022, sourceType: 'commonjs', globals: { ...globals.node } }
  }
];
