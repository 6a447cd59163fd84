#pragma once

// Marks a text that users read, so that xgettext gathers it into po/veltrin.pot
// (scripts/update-po.sh) and each front end can look it up in the user's language. What it
// marks is the English text itself, as it stands.
#define N_(text) text

// A text that holds a count: its English, the same for every count, with the plural form
// translators start from.
#define NP_(singular, plural) singular
