#include "SkipOnFailure.h"

// Debug messages only, so the category is silent by default.
Q_LOGGING_CATEGORY(lcSkipped, "veyloom.skipped", QtInfoMsg)
