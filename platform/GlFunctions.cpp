#include "GlFunctions.h"

#include <SDL.h>

namespace platform {

bool TGlFunctions::Load() {
  bool complete = true;
#define CLD_GL_LOAD(type, name)                                     \
  name = reinterpret_cast<type>(SDL_GL_GetProcAddress("gl" #name)); \
  complete = complete && name != nullptr;
  CLD_GL_FUNCTIONS(CLD_GL_LOAD)
#undef CLD_GL_LOAD
  return complete;
}

}  // namespace platform
