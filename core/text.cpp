// Case folding of text read from the user.
#include "core/text.h"

void fold_lower(char* text, int length) {
    for (int i = 0; i < length; ++i) text[i] = to_lower(text[i]);
}
