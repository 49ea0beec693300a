#pragma once
// A filled-in rental application form as the generator builds it: one 43 x 3 table on a US
// Letter page with 0.75 in side margins, followed by the body's closing empty paragraph.
#include "wordproc/model/DocumentModel.h"

namespace sampleform {

inline constexpr int kTableWidth = 10080;
inline constexpr int kColumn = kTableWidth / 3;

wordproc::CharFormat tahoma(int points, bool bold = false, std::int32_t colour = wordproc::kAutoColour);

// A cell holding one paragraph of `text` (an empty paragraph when text is empty).
wordproc::Cell cell(int width, const QString &text, const wordproc::CharFormat &format = tahoma(8),
                    wordproc::VerticalAlignment vertical = wordproc::VerticalAlignment::Centre);

wordproc::Row row(wordproc::HeightRule rule, int height, std::vector<wordproc::Cell> cells);

wordproc::Document document();

} // namespace sampleform
