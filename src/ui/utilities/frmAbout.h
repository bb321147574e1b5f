#pragma once
// The about box: the program's name and version, an invitation to send feedback with a link that
// composes the support mail, the credits, and a link to the maker's web site. Borderless, pale
// yellow, centred on the screen; OK or Escape closes it.
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <string>
#include <vector>

#include "core/state/AppState.h"

namespace tavrin {

class frmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit frmAbout(AppState& app, QWidget* parent = nullptr);

    // Opens a new message to the maker's support in the desktop's mail program, its subject and body
    // filled in with the version, the operating system and the date and time.
    void openEmail();
    // Opens the maker's web site in the desktop's browser.
    void openWebSite();

    // For tests.
    QLabel* webSiteLink() const { return webSiteLink_; }
    QLabel* mailLink() const { return mailLink_; }
    QPushButton* okButton() const { return okButton_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void openLink(const std::string& link);

    AppState& app_;
    QLabel* webSiteLink_;
    QLabel* mailLink_;
    QPushButton* okButton_;
    std::vector<int> lines_;  // the separators' heights, in pixels
};

}  // namespace tavrin
