#pragma once

#include "Swf.h"

#include <vector>

namespace author {

struct MovieEntry {
    const char* file;
    Movie (*make)();
};

Movie makeTit1();
Movie makeTit2();
Movie makeTit3();
Movie makeTit5();
Movie makeAcuario2();
Movie makeAdios();
Movie makeRomp1();
Movie makeRomp2();
Movie makeRomp3();
Movie makeRomp4();
Movie makeRomp5();
Movie makeFeliz1();
Movie makeFeliz2();
Movie makeFeliz3();
Movie makeFeliz4();
Movie makeFeliz5();
Movie makeAlegria();

inline std::vector<MovieEntry> allMovies()
{
    return {
        {"tit1.swf", makeTit1},       {"tit2.swf", makeTit2},       {"tit3.swf", makeTit3},
        {"tit5.swf", makeTit5},       {"acuario2.swf", makeAcuario2}, {"ADIOS.swf", makeAdios},
        {"f_romp1.swf", makeRomp1},   {"f_romp2.swf", makeRomp2},   {"f_romp3.swf", makeRomp3},
        {"f_romp4.swf", makeRomp4},   {"f_romp5.swf", makeRomp5},   {"feliz1.swf", makeFeliz1},
        {"feliz2.swf", makeFeliz2},   {"feliz3.swf", makeFeliz3},   {"feliz4.swf", makeFeliz4},
        {"feliz5.swf", makeFeliz5},   {"Alegria.swf", makeAlegria},
    };
}

} // namespace author
