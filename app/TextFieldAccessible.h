#pragma once

// Gives every single-line text field of the program an accessible interface of its own, which
// answers a screen reader's questions about the text at its end and reads its line whole.
void installTextFieldAccessibility();
