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

    // The controls, for tests.
    QRadioButton* meOnlyButton() const { return meOnlyButton_; }
    QRadioButton* everyoneButton() const { return everyoneButton_; }
    QComboBox* schemeBox(SetupList which) const { return schemeBoxes_[static_cast<std::size_t>(which)]; }
    QLabel* finishLink() const { return finishLink_; }
    QLabel* picturePreview() const { return picturePreview_; }
    const InitialSetup& model() const { return setup_; }

    // A choice in one of the three scheme lists; "Custom" asks for the colour.
    void chooseScheme(SetupList which, int item);
    // "Finish!": the first settings written, then the clock starts; a failure says why and stays.
    void finish();
    // "Browse": the background picture, shown in the preview.
    void browse();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void syncLists();

    AppState& app_;
    std::function<void()> onFinished_;
    CommonDialogs& dialogs_;
    InitialSetup setup_;
    QRadioButton* meOnlyButton_ = nullptr;
    QRadioButton* everyoneButton_ = nullptr;
    std::array<QComboBox*, 3> schemeBoxes_{};  // by SetupList
    QLabel* browseLink_ = nullptr;
    QLabel* finishLink_ = nullptr;
    QLabel* picturePreview_ = nullptr;
    QPoint dragOffset_;
    bool dragging_ = false;
    bool finished_ = false;
};

}  // namespace tavrin
