#pragma once
// The file-open and colour dialogs, modal over their owner and centred on it before they show.
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

// Several files may be chosen. The dialog opens on the file chosen last (in any earlier call), or
// else on the request's folder.
FileSelection ShowOpen(QWidget* owner, const OpenRequest& request, bool centreOnOwner = true);

// Starts from the colour confirmed last; the sixteen custom colours, near-white at first, keep what
// the user put there for as long as the program runs.
ColorChoice ShowColor(QWidget* owner, bool centreOnOwner = true);

}  // namespace tavrin
