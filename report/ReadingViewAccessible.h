#pragma once

// Gives every ReadingView an accessible interface whose text is the view's spoken text, each
// picture in it read by its name. A screen reader reads the caret and the selection from the
// interface, in the offsets of that text, whatever Qt's events about them say; a new text the
// view tells of itself (ReadingView::rewrite). Each ReadingView asks for it; it is installed
// once.
void installReadingViewAccessibility();
