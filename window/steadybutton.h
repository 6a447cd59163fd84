#pragma once

#include <QPushButton>

namespace veltrin {

// A push button that looks the same whether enabled or not. The board is disabled during a
// search only to keep input out; the user should see the window as it was, not a greyed one.
class SteadyButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace veltrin
