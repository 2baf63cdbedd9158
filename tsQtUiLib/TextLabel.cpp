#include "TextLabel.h"

#include <QHash>

#include <optional>

namespace {
// Everything QLabel reads when it sizes a text.
struct SizingKey
{
    QString text;
    QFont font;
    int dpiX;
    int dpiY;
    qreal pixelRatio;
    int textFormat;
    int alignment;
    int interaction;
    int margin;
    int indent;
    int frameWidth;
    QMargins contents;
    QSize minimum;
    QSize maximum;
    int direction;
    bool buddy;

    bool operator==(const SizingKey &other) const
    {
        return text == other.text && font == other.font && dpiX == other.dpiX && dpiY == other.dpiY
            && pixelRatio == other.pixelRatio && textFormat == other.textFormat
            && alignment == other.alignment && interaction == other.interaction
            && margin == other.margin && indent == other.indent && frameWidth == other.frameWidth
            && contents == other.contents && minimum == other.minimum && maximum == other.maximum
            && direction == other.direction && buddy == other.buddy;
    }
};

size_t qHash(const SizingKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.text, key.font, key.alignment, key.minimum.width(),
        key.maximum.width(), key.contents.left(), key.contents.right());
}

struct Sizes
{
    std::optional<QSize> hint;
    std::optional<QSize> minimumHint;
    QHash<int, int> heights;
};

// Bounded: texts and fonts change only with the language or the site's settings.
constexpr qsizetype MaxTexts = 256;
constexpr qsizetype MaxWidths = 64;

QHash<SizingKey, Sizes> &known()
{
    static QHash<SizingKey, Sizes> sizes;
    return sizes;
}

SizingKey keyOf(const QLabel *label)
{
    // Polishing may still change the font; QLabel polishes before sizing too.
    label->ensurePolished();
    return {label->text(), label->font(), label->logicalDpiX(), label->logicalDpiY(),
        label->devicePixelRatioF(), int(label->textFormat()),
        int(label->alignment()) | (label->wordWrap() ? int(::Qt::TextWordWrap) : 0),
        int(label->textInteractionFlags()), label->margin(), label->indent(), label->frameWidth(),
        label->contentsMargins(), label->minimumSize(), label->maximumSize(),
        int(label->layoutDirection()), label->buddy() != nullptr};
}

const Sizes *knownSizes(const SizingKey &key)
{
    const auto it = known().constFind(key);
    return it == known().constEnd() ? nullptr : &it.value();
}

// Looked up anew once QLabel has answered, never kept across its call:
// whatever it sized meanwhile may have added entries and moved this one.
Sizes &entry(const SizingKey &key)
{
    auto it = known().find(key);
    if (it == known().end()) {
        if (known().size() >= MaxTexts)
            known().clear();
        it = known().insert(key, Sizes());
    }
    return it.value();
}
} // namespace

TextLabel::TextLabel(QWidget *parent)
    : QLabel(parent)
{
    // Its texts are translations, which the Print Service may override.
    setTextFormat(::Qt::PlainText);
}

QSize TextLabel::sizeHint() const
{
    if (text().isEmpty())
        return QLabel::sizeHint();
    const SizingKey key = keyOf(this);
    if (const Sizes *sizes = knownSizes(key); sizes && sizes->hint)
        return *sizes->hint;
    const QSize hint = QLabel::sizeHint();
    entry(key).hint = hint;
    return hint;
}

QSize TextLabel::minimumSizeHint() const
{
    if (text().isEmpty())
        return QLabel::minimumSizeHint();
    const SizingKey key = keyOf(this);
    if (const Sizes *sizes = knownSizes(key); sizes && sizes->minimumHint)
        return *sizes->minimumHint;
    const QSize hint = QLabel::minimumSizeHint();
    entry(key).minimumHint = hint;
    return hint;
}

int TextLabel::heightForWidth(int width) const
{
    if (text().isEmpty())
        return QLabel::heightForWidth(width);
    const SizingKey key = keyOf(this);
    if (const Sizes *sizes = knownSizes(key)) {
        const auto height = sizes->heights.constFind(width);
        if (height != sizes->heights.constEnd())
            return height.value();
    }
    const int height = QLabel::heightForWidth(width);
    QHash<int, int> &heights = entry(key).heights;
    if (heights.size() >= MaxWidths)
        heights.clear();
    heights.insert(width, height);
    return height;
}
