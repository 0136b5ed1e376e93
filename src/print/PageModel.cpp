#include "print/PageModel.h"

#include <algorithm>

namespace {

QString mm(double value) {
    return QString::number(value, 'f', 1);
}

QChar alignMark(TextAlign align) {
    switch (align) {
        case TextAlign::Left:
            return u'L';
        case TextAlign::Center:
            return u'C';
        case TextAlign::Right:
            return u'R';
    }
    return u'L';
}

}  // namespace

QString PageModel::toText() const {
    QString out;
    for (int p = 0; p < pages.size(); ++p) {
        out += QStringLiteral("== page %1\n").arg(p + 1);
        QList<PageText> texts = pages.at(p).texts;
        std::stable_sort(texts.begin(), texts.end(), [](const PageText& a, const PageText& b) {
            return a.rectMm.top() != b.rectMm.top() ? a.rectMm.top() < b.rectMm.top()
                                                    : a.rectMm.left() < b.rectMm.left();
        });
        for (const PageText& t : texts) {
            out += mm(t.rectMm.left()) + u',' + mm(t.rectMm.top()) + u' ' + mm(t.rectMm.width()) +
                   u' ' + alignMark(t.align) + (t.font == u"body" ? QString() : u' ' + t.font) +
                   u' ' + t.text + u'\n';
        }
        for (const PageLine& l : pages.at(p).lines) {
            out += QStringLiteral("line %1,%2 %3,%4\n")
                       .arg(mm(l.lineMm.x1()), mm(l.lineMm.y1()), mm(l.lineMm.x2()),
                            mm(l.lineMm.y2()));
        }
    }
    return out;
}
