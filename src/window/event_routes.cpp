#include "event_routes.h"

#include <array>

namespace kt5::window {

namespace {

struct Route {
    std::string_view control;
    platform::EventKind kind;
    void (*handler)(tones::ToneCommandHandler&, const platform::ControlEvent&);
};

constexpr std::array<Route, 1> kRoutes{{
    {"Command1", platform::EventKind::Click,
     [](tones::ToneCommandHandler& commands, const platform::ControlEvent& event) {
         if (event.index)
             commands.Command1_Click(*event.index);
     }},
}};

} // namespace

void routeEvent(tones::ToneCommandHandler& commands, const platform::ControlEvent& event)
{
    for (const Route& route : kRoutes)
        if (route.control == event.control && route.kind == event.kind)
            route.handler(commands, event);
}

} // namespace kt5::window
