#pragma once

// The screens use the same value-or-reason type as the movie reader.
#include "../movie/Result.h"

template <typename T>
using Result = movie::Result<T>;
