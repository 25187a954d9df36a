#include "core/needs/formula.h"

#include <cmath>

#include "core/io/dataerror.h"

namespace {

class Parser {
public:
    Parser(const QString& text, const FormulaContext& ctx) : m_text(text), m_ctx(ctx) {}

    double run() {
        const double v = expression();
        skipBlanks();
        if (m_pos < m_text.size()) fail(QStringLiteral("caractère inattendu « %1 »").arg(m_text.at(m_pos)));
        if (m_increments > 0 && m_bases == 0)
            fail(QStringLiteral("un supplément EFSA « (+) » doit s'ajouter à une valeur de base"));
        if (!std::isfinite(v)) fail(QStringLiteral("résultat non fini"));
        return v;
    }

private:
    [[noreturn]] void fail(const QString& why) const {
        throw DataError(QStringLiteral("formule « %1 » : %2.").arg(m_text, why));
    }
    void skipBlanks() {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace()) ++m_pos;
    }
    bool accept(QChar c) {
        skipBlanks();
        if (m_pos < m_text.size() && m_text.at(m_pos) == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool acceptWord(const QString& w) {
        skipBlanks();
        if (m_text.mid(m_pos, w.size()) == w) {
            m_pos += w.size();
            return true;
        }
        return false;
    }

    double expression() {
        double v = term();
        for (;;) {
            if (accept(QLatin1Char('+')))
                v += term();
            else if (accept(QLatin1Char('-')))
                v -= term();
            else
                return v;
        }
    }
    double term() {
        double v = factor();
        for (;;) {
            if (accept(QLatin1Char('*'))) {
                v *= factor();
            } else if (accept(QLatin1Char('/'))) {
                const double d = factor();
                if (d == 0) fail(QStringLiteral("division par zéro"));
                v /= d;
            } else {
                return v;
            }
        }
    }
    double factor() {
        skipBlanks();
        if (accept(QLatin1Char('-'))) return -factor();
        if (accept(QLatin1Char('('))) {
            const double v = expression();
            if (!accept(QLatin1Char(')'))) fail(QStringLiteral("parenthèse fermante attendue"));
            return v;
        }
        if (acceptWord(QStringLiteral("moyenne("))) {
            double sum = expression();
            int n = 1;
            while (accept(QLatin1Char(','))) {
                sum += expression();
                ++n;
            }
            if (!accept(QLatin1Char(')'))) fail(QStringLiteral("parenthèse fermante attendue après moyenne"));
            return sum / n;
        }
        if (acceptWord(QStringLiteral("EFSA["))) {
            const int end = m_text.indexOf(QLatin1Char(']'), m_pos);
            if (end < 0) fail(QStringLiteral("crochet fermant attendu"));
            const QString ref = m_text.mid(m_pos, end - m_pos);
            m_pos = end + 1;
            bool increment = false;
            const double v = m_ctx.efsa(ref, &increment);
            if (increment)
                ++m_increments;
            else
                ++m_bases;
            return v;
        }
        if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('L')) {
            int p = m_pos + 1;
            while (p < m_text.size() && m_text.at(p).isDigit()) ++p;
            bool ok = false;
            const int row = m_text.mid(m_pos + 1, p - m_pos - 1).toInt(&ok);
            if (!ok) fail(QStringLiteral("numéro de ligne attendu après L"));
            m_pos = p;
            ++m_bases;
            return m_ctx.row(row);
        }
        int p = m_pos;
        while (p < m_text.size() && (m_text.at(p).isDigit() || m_text.at(p) == QLatin1Char('.'))) ++p;
        if (p == m_pos)
            fail(m_pos < m_text.size() ? QStringLiteral("terme attendu avant « %1 »").arg(m_text.mid(m_pos))
                                       : QStringLiteral("terme attendu en fin de formule"));
        bool ok = false;
        const double v = m_text.mid(m_pos, p - m_pos).toDouble(&ok);
        if (!ok) fail(QStringLiteral("nombre illisible « %1 »").arg(m_text.mid(m_pos, p - m_pos)));
        m_pos = p;
        return v;
    }

    const QString m_text;
    const FormulaContext& m_ctx;
    int m_pos = 0;
    int m_increments = 0;
    int m_bases = 0;
};

}   // namespace

double evaluateFormula(const QString& formula, const FormulaContext& context) {
    return Parser(formula, context).run();
}
