#include "common/tokenizer.h"

namespace {

struct Tokenizer {
    QString text;
    QString delimiter;
    qint32 position = 1;  // 1-based start of the next item
};

Tokenizer state;

}  // namespace

QString DalsiPolozka(const QString &text, const QString &delimiter, qint16 &n)
{
    if (!text.isEmpty()) {
        state = {text, delimiter, 1};
    } else if (n > 0) {
        state.position = 1;
    } else {
        n = 1;
        if (state.position < 1)
            state.position = 1;
    }
    QString result;
    while (n > 0) {
        // An empty delimiter would be found where the search starts, forever.
        const qsizetype p = state.delimiter.isEmpty() || state.position > state.text.size() + 1
            ? -1
            : state.text.indexOf(state.delimiter, state.position - 1);
        if (p < 0) {
            if (n > 1)
                return QString();
            result = state.text.mid(state.position - 1);
            state.position = qint32(state.text.size() + 1);
            return result;
        }
        result = p + 1 == state.position ? QStringLiteral(" ") : state.text.mid(state.position - 1, p + 1 - state.position);
        state.position = qint32(p + 1 + state.delimiter.size());
        --n;
    }
    return result;
}
