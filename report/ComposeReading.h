#pragma once

struct TestRun;
class ImageList;
class ReadingView;

// Writes the reading of a finished test into the view: for every tested chakra, in chakra
// order, its rating and what it means, then either its rune stones with their pictures or the
// note that an open chakra has none. It takes the place of the view's text as a whole
// (ReadingView::rewrite), its caret at the top. The view is read-only afterwards.
void ComposeReading(ReadingView &RTB, const ImageList &IMG, const TestRun &run);
