#pragma once
// The desktop as an X server shows it: monitors through RandR (or Xinerama, where the server shows
// its heads only that way), panels as dock windows, and the stacking order of the screen's top-level
// windows. It keeps a connection of its own, so its news arrives on a descriptor the program waits on,
// and costs nothing while the desktop does not change.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/base/Result.h"
#include "core/desktop/DesktopWatch.h"

struct xcb_connection_t;

namespace tavrin {

class X11Desktop final : public DesktopWatch {
  public:
    // Connects to the display `displayName` (empty: $DISPLAY) and starts listening; a failure when no X
    // server answers there.
    static Result<std::unique_ptr<X11Desktop>> open(const std::string& displayName = {});
    ~X11Desktop() override;
    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    void setOwnWindow(std::uint64_t window) override;
    int eventDescriptor() const override;
    DesktopNews takeNews() override;
    bool newsWaiting() const override;
    DesktopLayout layout() override;
    bool panelAboveOwnWindow() override;
    void raiseOwnWindow() override;

  private:
    explicit X11Desktop(xcb_connection_t* connection);
    void listen();
    // Folds one event, as the server sent it, into the news.
    void note(const void* event);
    // Folds the events that arrived with the last replies into the news.
    void noteQueuedEvents();
    std::vector<Monitor> monitors();
    std::uint32_t topLevelOf(std::uint32_t window);
    std::uint32_t atom(const char* name);
    bool isPanelWindow(std::uint32_t window) const;

    xcb_connection_t* c_;
    std::uint32_t root_ = 0;
    std::uint8_t randrEvents_ = 0;  // the first event number of RandR, 0 without it
    bool randrMonitors_ = false;    // RandR 1.5 lists monitors
    bool xinerama_ = false;

    std::uint32_t windowType_ = 0;
    std::uint32_t dockType_ = 0;
    std::uint32_t strut_ = 0;
    std::uint32_t strutPartial_ = 0;
    std::uint32_t clientList_ = 0;
    std::uint32_t workArea_ = 0;

    std::uint32_t own_ = 0;
    // Every dock's own window, shown or not, and the top-level windows that hold the shown ones, as
    // last read.
    std::vector<std::uint32_t> panelClients_;
    std::vector<std::uint32_t> panelTops_;
    DesktopNews news_;
    bool queued_ = false;
};

}  // namespace tavrin
