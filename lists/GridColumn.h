#pragma once

#include "TableSnapshot.h"

#include <QString>

namespace lists {

/// One column of a list window's grid, as the window designs it.
struct GridColumn {
    QString fieldName;  // empty: the column shows nothing
    QString title;      // empty: the field name is the title
    int width = 64;     // designed width in pixels
    FooterKind footer = FooterKind::None;
    QString footerText; // for FooterKind::StaticText
    bool titleButton = false; // reacts to title clicks (sorting)

    QString titleText() const { return title.isEmpty() ? fieldName : title; }
};

} // namespace lists
