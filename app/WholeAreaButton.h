#pragma once

#include <QPoint>

// A check box or option button that reacts to a click anywhere in its area, not only on its
// indicator and caption.
template <typename Button> class WholeAreaButton : public Button
{
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint &pos) const override { return this->rect().contains(pos); }
};
