#pragma once
// A small borderless window with rounded corners in the tooltip colours: a bold title, an optional
// icon and close button, and underlined message lines that can be clicked. One instance per
// announcement; it deletes itself when it closes.
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/notify/BalloonLayout.h"

class QPushButton;

namespace tavrin {

class frmBalloon : public QWidget {
    Q_OBJECT
  public:
    // Receives the index of a clicked message line (0 for the first). Without it a click on a line
    // closes the balloon.
    using LineHandler = std::function<void(int line)>;

    // `lines` is read by setBalloon only: each line's label keeps its own text, so a later
    // announcement rewriting the lines does not change what this balloon's lines open.
    explicit frmBalloon(const std::array<std::string, kBalloonLineSlots>& lines,
                        LineHandler onLineClicked = {}, QWidget* parent = nullptr);

    // Positions and sizes in twips. The balloon always asks for Tahoma (the desktop's sans-serif
    // stands in where it is missing). Call once per instance.
    void setBalloon(const std::string& title, int count, long leftTwips, long topTwips,
                    const std::string& iconCode = "", bool showClose = false, long autoCloseAfterMs = 0,
                    long heightTwips = 0, long widthTwips = 0, int fontSize = 8);
    void hideBalloon();
    void shapeBalloon();
    // A button at the lower right (the alarm's "Snooze"): a click runs `onClick`, then closes the
    // balloon. Call once per instance.
    void setButton(const std::string& text, std::function<void()> onClick);

    // For tests and the announcer.
    QLabel* titleLabel() const { return titleLabel_; }
    const std::vector<QLabel*>& lineLabels() const { return lines_; }
    QWidget* closeButton() const { return closeButton_; }
    QLabel* iconLabel() const { return iconLabel_; }
    bool autoCloseActive() const { return autoCloseTimer_.isActive(); }
    QPushButton* button() const { return button_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void layoutParts();

    const std::array<std::string, kBalloonLineSlots>* pendingLines_;  // until setBalloon has read it
    LineHandler onLineClicked_;
    QLabel* titleLabel_;
    QLabel* iconLabel_;
    QWidget* closeButton_;
    QPushButton* button_ = nullptr;
    std::vector<QLabel*> lines_;
    QTimer autoCloseTimer_;
    bool hasIcon_ = false;
};

// The 16 x 16 picture of a balloon icon; a null pixmap for none.
QPixmap balloonIconPixmap(BalloonIcon icon);
// The close button's released or pressed face, without its cross.
QPixmap closeButtonPixmap(bool pressed);

}  // namespace tavrin
