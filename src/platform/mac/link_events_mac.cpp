#include "cable/link_events.h"

namespace tagsmith::cable {

// The Mac follows its cable with the once-a-second refresh alone.
struct LinkEvents::Watch {};

LinkEvents::LinkEvents(std::function<void()>) {}

LinkEvents::~LinkEvents() = default;

} // namespace tagsmith::cable
