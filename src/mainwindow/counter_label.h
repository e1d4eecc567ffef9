#pragma once

#include <QImage>
#include <QLabel>
#include <array>

namespace amperlog {

// A label for a counter such as "7:05" that changes every second. A text of digits and
// colons is put together from images of its characters, made once, instead of being laid
// out and shaped again every second; any other text is drawn as a QLabel draws it.
class CounterLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Glyph {
        QImage image;
        qreal advance = 0;
    };
    static constexpr char kCharacters[] = "0123456789:";

    bool MakeGlyphs();

    std::array<Glyph, sizeof(kCharacters) - 1> m_glyphs;
    bool m_glyphsMade = false;
    qreal m_ratio = 0;
};

} // namespace amperlog
