#pragma once
// What must hold of the editor state after anything at all has happened to it.
#include <string>

#include "model/curve_model.h"

// Empty when the state is sound: the count within 1 .. MaxPoints, every point and tangent in use
// finite, and a drag only ever on a point that exists. Otherwise what is wrong.
std::string EditorStateFault(const EditorState& state);
