#include "ControlCounts.h"

// Each family's own test file checks its screens; these are the screens outside the families.
TEST(Counts, FinishedScreensHoldTheControlsTheyShould)
{
    expectControlCounts({
        {"Presentación", 1, 4, 0, 0, 2, 0, 0, 0},
        {"Menú", 12, 2, 0, 0, 0, 0, 0, 1},
        {"Tablero", 7, 2, 6, 0, 0, 0, 4, 1},
        {"Colores1", 18, 3, 1, 3, 1, 3, 4, 5},
        {"Colores2", 19, 3, 0, 0, 0, 3, 4, 6},
        {"Colores3", 19, 3, 0, 0, 0, 3, 4, 6},
        {"Colores4", 20, 3, 0, 0, 0, 3, 4, 6},
        {"Cantidad1", 21, 3, 4, 0, 0, 5, 6, 7},
        {"Cantidad2", 21, 3, 4, 0, 0, 8, 9, 7},
        {"Cantidad3", 21, 3, 4, 0, 0, 5, 6, 7},
        {"Cantidad4", 21, 3, 4, 0, 0, 8, 9, 7},
        {"Cantidad5", 28, 3, 6, 0, 0, 5, 5, 11},
    });
}
