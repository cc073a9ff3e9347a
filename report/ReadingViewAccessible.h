#pragma once

// Gives every ReadingView an accessible interface whose text is the view's spoken text, each
// picture in it read by its name, and has the view's text, caret and selection events told in
// the offsets of that text. Each ReadingView asks for it; it is installed once.
void installReadingViewAccessibility();
