#pragma once

#include <QWidget>

class QLabel;

namespace fw::qt {

// The processing window shown while the ISP tool runs: the animated message
// line, "Elapsed time:" and the minutes and seconds counted by the main
// window's one-second clock.
class Form3 final : public QWidget {
    Q_OBJECT

public:
    explicit Form3(QWidget* parent = nullptr);

    QLabel* Label1() const { return Label1_; }
    QLabel* Label2() const { return Label2_; }

    // Keeps the window above every other one; a shown window stays shown.
    void setTopmost(bool topmost);
    bool isTopmost() const;

private:
    QLabel* Label1_ = nullptr;
    QLabel* Label2_ = nullptr;
};

} // namespace fw::qt
