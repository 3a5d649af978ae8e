#pragma once

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QSize>

/// The program's built-in pictures, painted by code at first use and kept for the run.
///
/// Sizes are in device-independent pixels: each pixmap is painted at the screen's
/// device pixel ratio and carries it, so `deviceIndependentSize()` is the size named
/// here while `size()` may be larger on a high-density screen. Call these from the
/// user-interface thread only, after the application object exists.
namespace ui::artwork {

/// Extent of the square tool-bar pictures.
inline constexpr int toolPictureExtent = 24;
/// Size of each of the two column-button arrows of the list windows.
inline constexpr QSize arrowImageSize{12, 16};
/// Size of the login window's side picture.
inline constexpr QSize loginPictureSize{110, 150};
/// Extent of the square application emblem of the about window.
inline constexpr int aboutPictureExtent = 64;

/// The main window's background when no picture file replaces it, painted for `size`
/// (the client area it is stretched over). Only the last size painted is kept, so a
/// window being resized repaints once per new size; an empty size gives a null pixmap.
QPixmap background(const QSize& size);

/// The pictures above the captions of the main tool bar's buttons.
enum class ToolPicture {
    CashJournal,
    CashSummaryStats,
    CashMonthStats,
    BankJournal,
    BankSummaryStats,
    BankMonthStats,
    Exit,
};

QPixmap toolPicture(ToolPicture which);

/// Decorative picture for the left side of the login window.
QPixmap loginPicture();

/// The application emblem, as the about window shows it.
QPixmap aboutPicture();
/// The emblem painted afresh at each of the usual icon sizes, so small sizes stay sharp.
QIcon applicationIcon();
/// Paints the emblem into the square (0, 0, extent, extent) of `p`; below 32 pixels the
/// finer details are left out so the small sizes stay readable. The installed icon
/// files are written with this too, so the program and the desktop show one picture.
void paintEmblem(QPainter& p, int extent);

/// The images of the list windows' column buttons: 0 shows hidden columns again (arrow to
/// the right), 1 hides the rightmost column (arrow to the left). Any other index gives a
/// null pixmap.
QPixmap arrowImage(int index);

/// A one-colour glyph (the arrows, the navigator's triangles) as a button's
/// icon. On a disabled button it shows in the light grey of a disabled
/// caption: the style's own dimming leaves a dark glyph almost as dark.
QIcon glyphIcon(const QPixmap& glyph);

} // namespace ui::artwork
