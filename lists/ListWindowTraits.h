#pragma once

#include <QString>

namespace lists {

/// What sets one list window apart from the others: its row in the table of
/// list windows. The frame reads it; the windows do not repeat the behaviour.
struct ListWindowTraits {
    enum class ColumnButtons { None, Disabled, Enabled };
    enum class Sorting { MarkersOnly, Requery };
    enum class DeleteNeeds { Records, OpenQueryAndRecords };

    QString objectName;
    QString title;
    bool checkBoxes = true;       // "区分列表" and "满屏显示"
    bool startFitted = true;      // the grid fits its columns to its width when the window opens
    ColumnButtons columnButtons = ColumnButtons::Enabled;
    int hideLimit = 0;            // visible columns that hiding leaves at least
    DeleteNeeds deleteNeeds = DeleteNeeds::Records;
    bool canPrint = true;
    QString printTitle;           // the page header's centre text
    bool blankRightHeaderLine = false; // the page header's right text is one empty line
    QString exportName;           // the proposed file name
    bool threeDimensionalFrame = false;
    Sorting sorting = Sorting::MarkersOnly;
    bool maximised = true;        // otherwise a fixed-size dialog
    bool copyAndSelectAll = true; // Ctrl+C and Ctrl+A in the grid
    int cellPixels = 12;
    int footerPixels = 12;
};

} // namespace lists
