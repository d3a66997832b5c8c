#include "VexelMusic.h"

namespace vexel {

void TVexelMusic::Update() {
  for (int i = 0; i < Songs.Count(); ++i) {
    TSongListItem* song = Songs.Items(i);
    if (song->Loop && song->Loaded() && !song->Playing()) song->Rewind();
  }
}

}  // namespace vexel
