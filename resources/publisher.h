// The publisher's values, shared by the program's texts and its resources
// (plain macros so that the resource compiler can read them too).
#pragma once

#define QODEX_VERSION_TEXT "1.0.0.0"
#define QODEX_WEB_ADDRESS "https://varnholt.example"
#define QODEX_CREDIT_LINE "Qodex " QODEX_VERSION_TEXT " - Varnholt - " QODEX_WEB_ADDRESS
#define QODEX_COPYRIGHT "Copyright (C) 2026 Varnholt"
// One literal: the resource compiler does not join adjacent strings.
#define QODEX_DIALOG_CAPTION "Qodex decoder - https://varnholt.example"
