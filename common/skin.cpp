#include "common/skin.h"

const SkinPiece* Skin::Find(WORD id, bool doubled) const
{
    for (int i = 0; i < count; ++i)
        if (pieces[i].id == id && pieces[i].doubled == doubled)
            return &pieces[i];
    return nullptr;
}
