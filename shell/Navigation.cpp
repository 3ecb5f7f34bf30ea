#include "Navigation.h"

#include "Screen.h"
#include "ScreenDescription.h"

namespace shell {

void Navigation::attach(screens::Screen& screen, const screens::ScreenDescription& d, screens::Services& services) const
{
    for (const screens::NavigationButton& b : d.navigation) {
        if (!b.exitPlayer.isEmpty()) {
            screens::Control* player = screen.control(b.exitPlayer);
            screen.on(b.button).click = [&screen, &services, player] { services.confirmExit(screen, *player); };
        } else {
            screen.on(b.button).click = [&services, target = b.target] { services.switchTo(target); };
        }
    }
}

void LoadMovies::attach(screens::Screen& screen, const screens::ScreenDescription& d, screens::Services& services) const
{
    for (const screens::MovieLoad& load : d.load) {
        screens::Control* player = screen.control(load.player);
        screen.addLoadStep([player, movie = load.movie, &services] { player->setMovie(services.moviePath(movie)); });
    }
}

} // namespace shell
