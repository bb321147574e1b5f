#pragma once
// "Tavrin Initial Setup": the first start's dialog. Borderless, so it is dragged by its background;
// it has no close button and Escape does not close it.
#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>

#include "core/settings/InitialSetup.h"
#include "core/state/AppState.h"
#include "ui/utilities/QtCommonDialogs.h"

class QComboBox;
class QLabel;
class QRadioButton;

namespace tavrin {

class frmInitSetup : public QWidget {
    Q_OBJECT
  public:
    // `onFinished` runs after "Finish!" has written the first settings (the start of the clock),
    // before the window closes. The colour and file dialogs come from `dialogs`, messages from the
    // application's asker.
    frmInitSetup(AppState& app, CommonDialogs& dialogs, std::function<void()> onFinished,
                 QWidget* parent = nullptr);

    // The controls, by their design names.
    QRadioButton* optUser(int index) const { return optUser_[static_cast<std::size_t>(index)]; }
    QComboBox* Combo1(int index) const { return Combo1_[static_cast<std::size_t>(index)]; }
    QLabel* Label3(int index) const { return Label3_[static_cast<std::size_t>(index)]; }
    QLabel* Image1() const { return Image1_; }
    const InitialSetup& model() const { return setup_; }

    void Combo1_Click(int index, int item);
    void Label3_Click(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void finish();
    void browse();
    void syncLists();

    AppState& app_;
    std::function<void()> onFinished_;
    CommonDialogs& dialogs_;
    InitialSetup setup_;
    std::array<QRadioButton*, 2> optUser_{};
    std::array<QComboBox*, 3> Combo1_{};
    std::array<QLabel*, 2> Label3_{};
    QLabel* Image1_ = nullptr;
    QPoint dragOffset_;
    bool dragging_ = false;
    bool finished_ = false;
};

}  // namespace tavrin
