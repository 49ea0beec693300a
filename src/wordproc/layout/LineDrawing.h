#pragma once
#include "wordproc/layout/Layout.h"

#include <span>

class QPainter;

namespace wordproc {

// Draws laid-out lines of text with the painter's current transform, in the twips of the block
// that holds them. Used for the page picture and for printed and PDF pages alike, so that both
// show the same text.
void drawLineBoxes(QPainter &painter, std::span<const LineBox> lines);

} // namespace wordproc
