#pragma once

#include "TableSnapshot.h"

#include <QString>

#include <utility>

namespace lists {

/// One column of a list window's grid, as the window designs it.
struct GridColumn {
    GridColumn() = default;
    // Lets a layout name only the leading members, in their order, as its tables do.
    GridColumn(QString fieldName, QString title = {}, int width = 64,
               FooterKind footer = FooterKind::None, QString footerText = {},
               bool titleButton = false)
        : fieldName(std::move(fieldName)), title(std::move(title)), width(width), footer(footer),
          footerText(std::move(footerText)), titleButton(titleButton) {}

    QString fieldName;  // empty: the column shows nothing
    QString title;      // empty: the field name is the title
    int width = 64;     // designed width in pixels
    FooterKind footer = FooterKind::None;
    QString footerText; // for FooterKind::StaticText
    bool titleButton = false; // reacts to title clicks (sorting)

    QString titleText() const { return title.isEmpty() ? fieldName : title; }
};

} // namespace lists
