#pragma once
// A class reference for the registries: a name, a factory and the parent
// class, so that "this class or one of its descendants" can be asked.
#include <functional>
#include <memory>
#include <string>

#include "graphics/TGraphic.h"

namespace kobalto {

struct TGraphicClass {
    std::string name;
    std::function<std::unique_ptr<TGraphic>()> create;
    const TGraphicClass* parent = nullptr;

    bool InheritsFrom(const TGraphicClass* ancestor) const
    {
        for (const TGraphicClass* c = this; c; c = c->parent)
            if (c == ancestor)
                return true;
        return false;
    }
};

// The class records of the kinds the graphics layer provides.
const TGraphicClass& BitmapClass();
const TGraphicClass& MetafileClass();

}  // namespace kobalto
