// The program's version, shared by the version resource and the code.
#pragma once

#define VANTOREL_VERSION_NUMBERS 1, 0, 0, 0
#define VANTOREL_VERSION_TEXT "1.0.0.0"
#define VANTOREL_PRODUCT_TEXT "Vantorel1.0"
