#pragma once
// The file-open and colour dialogs, modal over their owner and centred on it as they show.
#include <QStringList>

#include <string>
#include <utility>
#include <vector>

#include "core/utilities/ColorChoice.h"
#include "core/utilities/FileSelection.h"

class QWidget;

namespace tavrin {

struct OpenRequest {
    std::vector<std::pair<std::string, std::string>> filter;  // description, pattern ("*.jpg")
    std::string initialDirectory;
    std::string title;
};

// Chosen files in the order the file dialog lists them (by name with the collation its view sorts
// with, case aside); the dialog itself hands them over in the order they were picked.
QStringList listedOrder(QStringList files);

// The file-open and colour dialogs as windows receive them, so tests can answer in their place.
class CommonDialogs {
  public:
    virtual ~CommonDialogs() = default;
    virtual FileSelection showOpen(QWidget* owner, const OpenRequest& request, bool centreOnOwner = true) = 0;
    virtual ColorChoice showColor(QWidget* owner, bool centreOnOwner = true) = 0;
    // The file-save dialog: one file, new or to be replaced (the dialog asks before replacing), its
    // name given the first filter's extension when it has none.
    virtual FileSelection showSave(QWidget* owner, const OpenRequest& request, bool centreOnOwner = true) = 0;
};

// The toolkit's dialogs. Several files may be chosen; the file dialog opens on the file chosen last
// (in any earlier call), or else on the request's folder. The colour dialog starts from the colour
// confirmed last; its sixteen custom colours, near-white at first, keep what the user put there for
// as long as the program runs.
class QtCommonDialogs final : public CommonDialogs {
  public:
    FileSelection showOpen(QWidget* owner, const OpenRequest& request, bool centreOnOwner = true) override;
    ColorChoice showColor(QWidget* owner, bool centreOnOwner = true) override;
    FileSelection showSave(QWidget* owner, const OpenRequest& request, bool centreOnOwner = true) override;
};

// The same as free functions, for windows that hold no dialogs object yet.
FileSelection showOpen(QWidget* owner, const OpenRequest& request, bool centreOnOwner = true);
ColorChoice showColor(QWidget* owner, bool centreOnOwner = true);

}  // namespace tavrin
