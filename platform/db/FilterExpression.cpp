#include "platform/db/FilterExpression.h"

#include "platform/core/ShopFormat.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlDialect.h"

#include <QList>

namespace vx {

struct FilterExpression::Node {
    enum class Kind { And, Or, Not, Compare, Column, Literal, Null };
    Kind kind = Kind::Literal;
    QString op;     // for Compare: = <> < > <= >= LIKE, IS, IS NOT
    QString text;   // column name or literal text
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
};

namespace {

using Node = FilterExpression::Node;

struct Token {
    enum class Kind { Identifier, String, Number, Operator, LeftParen, RightParen, Keyword, End };
    Kind kind = Kind::End;
    QString text;
};

// The filter as messages show it: a runaway text is cut, not pasted whole into a message box.
QString shown(const QString &filter)
{
    constexpr int longest = 120;
    return filter.size() <= longest ? filter : filter.left(longest) + QStringLiteral("…");
}

QString invalidFilter(const QString &filter, const QString &detail)
{
    return QStringLiteral("El filtro \"%1\" no es válido: %2.").arg(shown(filter), detail);
}

class Lexer {
public:
    explicit Lexer(const QString &text) : m_text(text) {}

    QList<Token> tokens()
    {
        QList<Token> out;
        while (true) {
            skipSpaces();
            if (m_pos >= m_text.size())
                break;
            out << next();
        }
        out << Token{Token::Kind::End, {}};
        return out;
    }

private:
    void skipSpaces()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }

    Token next()
    {
        const QChar c = m_text[m_pos];
        if (c == QLatin1Char('(')) {
            ++m_pos;
            return {Token::Kind::LeftParen, QStringLiteral("(")};
        }
        if (c == QLatin1Char(')')) {
            ++m_pos;
            return {Token::Kind::RightParen, QStringLiteral(")")};
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('#'))
            return quoted(c);
        if (c == QLatin1Char('['))
            return bracketed();
        if (QStringLiteral("=<>!").contains(c))
            return comparison();
        if (c.isDigit() || ((c == QLatin1Char('-') || c == QLatin1Char('.')) && m_pos + 1 < m_text.size()
                            && m_text[m_pos + 1].isDigit()))
            return number();
        if (c.isLetter() || c == QLatin1Char('_'))
            return word();
        throw DbError(invalidFilter(m_text, QStringLiteral("carácter inesperado '%1'").arg(c)));
    }

    Token quoted(QChar quote)
    {
        QString value;
        ++m_pos;
        while (true) {
            if (m_pos >= m_text.size())
                throw DbError(invalidFilter(m_text, QStringLiteral("falta cerrar una comilla")));
            const QChar c = m_text[m_pos++];
            if (c == quote) {
                // a doubled quote stands for the quote itself
                if (m_pos < m_text.size() && m_text[m_pos] == quote && quote != QLatin1Char('#')) {
                    value += quote;
                    ++m_pos;
                    continue;
                }
                break;
            }
            value += c;
        }
        return {Token::Kind::String, value};
    }

    Token bracketed()
    {
        const int close = m_text.indexOf(QLatin1Char(']'), m_pos);
        if (close < 0)
            throw DbError(invalidFilter(m_text, QStringLiteral("falta cerrar un corchete")));
        const QString name = m_text.mid(m_pos + 1, close - m_pos - 1).trimmed();
        m_pos = close + 1;
        return {Token::Kind::Identifier, name};
    }

    Token comparison()
    {
        static const QStringList ops = {QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("<>"),
                                        QStringLiteral("!="), QStringLiteral("="), QStringLiteral("<"),
                                        QStringLiteral(">")};
        for (const QString &op : ops) {
            if (m_text.mid(m_pos, op.size()) == op) {
                m_pos += op.size();
                return {Token::Kind::Operator, op == QLatin1String("!=") ? QStringLiteral("<>") : op};
            }
        }
        throw DbError(invalidFilter(m_text, QStringLiteral("operador desconocido")));
    }

    Token number()
    {
        const int start = m_pos++;
        while (m_pos < m_text.size() && (m_text[m_pos].isDigit() || m_text[m_pos] == QLatin1Char('.')
                                         || m_text[m_pos] == QLatin1Char(',')))
            ++m_pos;
        return {Token::Kind::Number, m_text.mid(start, m_pos - start)};
    }

    Token word()
    {
        const int start = m_pos;
        while (m_pos < m_text.size()
               && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == QLatin1Char('_')
                   || m_text[m_pos] == QLatin1Char('.')))
            ++m_pos;
        QString w = m_text.mid(start, m_pos - start);
        const QString upper = w.toUpper();
        static const QStringList keywords = {QStringLiteral("AND"), QStringLiteral("OR"), QStringLiteral("NOT"),
                                             QStringLiteral("LIKE"), QStringLiteral("IS"), QStringLiteral("NULL")};
        if (keywords.contains(upper))
            return {Token::Kind::Keyword, upper};
        // A qualified name (Ingresos.INGFEC) means the column; the table is implied by the dataset.
        const int dot = w.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0)
            w = w.mid(dot + 1);
        return {Token::Kind::Identifier, w};
    }

    QString m_text;
    int m_pos = 0;
};

class Parser {
public:
    Parser(const QString &text, QList<Token> tokens) : m_text(text), m_tokens(std::move(tokens)) {}

    std::unique_ptr<Node> parse()
    {
        auto root = orExpression();
        if (peek().kind != Token::Kind::End)
            fail(QStringLiteral("sobra \"%1\"").arg(peek().text));
        return root;
    }

private:
    const Token &peek() const { return m_tokens[m_pos]; }
    Token take() { return m_tokens[m_pos++]; }
    bool isKeyword(const char *word) const
    {
        return peek().kind == Token::Kind::Keyword && peek().text == QLatin1String(word);
    }
    [[noreturn]] void fail(const QString &detail) const { throw DbError(invalidFilter(m_text, detail)); }

    static std::unique_ptr<Node> binary(Node::Kind kind, std::unique_ptr<Node> l, std::unique_ptr<Node> r)
    {
        auto n = std::make_unique<Node>();
        n->kind = kind;
        n->left = std::move(l);
        n->right = std::move(r);
        return n;
    }

    std::unique_ptr<Node> orExpression()
    {
        auto left = andExpression();
        while (isKeyword("OR")) {
            take();
            left = binary(Node::Kind::Or, std::move(left), andExpression());
        }
        return left;
    }

    std::unique_ptr<Node> andExpression()
    {
        auto left = notExpression();
        while (isKeyword("AND")) {
            take();
            left = binary(Node::Kind::And, std::move(left), notExpression());
        }
        return left;
    }

    // Entered for each "(" and NOT, so that nesting ends in a message long before the stack does.
    class Nesting {
    public:
        explicit Nesting(Parser &parser) : m_parser(parser)
        {
            if (++m_parser.m_depth > FilterExpression::maxDepth)
                m_parser.fail(QStringLiteral("anida más de %1 paréntesis o NOT").arg(FilterExpression::maxDepth));
        }
        ~Nesting() { --m_parser.m_depth; }
        Nesting(const Nesting &) = delete;
        Nesting &operator=(const Nesting &) = delete;

    private:
        Parser &m_parser;
    };

    std::unique_ptr<Node> notExpression()
    {
        if (isKeyword("NOT")) {
            take();
            const Nesting nesting(*this);
            return binary(Node::Kind::Not, notExpression(), nullptr);
        }
        if (peek().kind == Token::Kind::LeftParen) {
            take();
            const Nesting nesting(*this);
            auto inner = orExpression();
            if (peek().kind != Token::Kind::RightParen)
                fail(QStringLiteral("falta cerrar un paréntesis"));
            take();
            return inner;
        }
        if (++m_comparisons > FilterExpression::maxComparisons)
            fail(QStringLiteral("tiene más de %1 comparaciones").arg(FilterExpression::maxComparisons));
        return comparison();
    }

    std::unique_ptr<Node> operand()
    {
        const Token t = take();
        auto n = std::make_unique<Node>();
        switch (t.kind) {
        case Token::Kind::Identifier: n->kind = Node::Kind::Column; break;
        case Token::Kind::String: n->kind = Node::Kind::Literal; break;
        case Token::Kind::Number: n->kind = Node::Kind::Literal; break;
        case Token::Kind::Keyword:
            if (t.text == QLatin1String("NULL")) {
                n->kind = Node::Kind::Null;
                break;
            }
            [[fallthrough]];
        default: fail(t.kind == Token::Kind::End ? QStringLiteral("termina antes de tiempo")
                                                 : QStringLiteral("se esperaba un campo o un valor en \"%1\"").arg(t.text));
        }
        n->text = t.text;
        return n;
    }

    std::unique_ptr<Node> comparison()
    {
        auto left = operand();
        auto n = std::make_unique<Node>();
        n->kind = Node::Kind::Compare;
        if (isKeyword("IS")) {
            take();
            n->op = QStringLiteral("IS");
            if (isKeyword("NOT")) {
                take();
                n->op = QStringLiteral("IS NOT");
            }
            if (!isKeyword("NULL"))
                fail(QStringLiteral("se esperaba NULL"));
            take();
            n->left = std::move(left);
            n->right = std::make_unique<Node>();
            n->right->kind = Node::Kind::Null;
            return n;
        }
        if (isKeyword("NOT")) {
            take();
            if (!isKeyword("LIKE"))
                fail(QStringLiteral("se esperaba LIKE"));
            take();
            n->op = QStringLiteral("NOT LIKE");
        } else if (isKeyword("LIKE")) {
            take();
            n->op = QStringLiteral("LIKE");
        } else if (peek().kind == Token::Kind::Operator) {
            n->op = take().text;
        } else {
            fail(QStringLiteral("se esperaba un operador de comparación"));
        }
        n->left = std::move(left);
        n->right = operand();
        return n;
    }

    QString m_text;
    QList<Token> m_tokens;
    int m_pos = 0;
    int m_depth = 0;
    int m_comparisons = 0;
};

QString mirrored(const QString &op)
{
    if (op == QLatin1String("<")) return QStringLiteral(">");
    if (op == QLatin1String(">")) return QStringLiteral("<");
    if (op == QLatin1String("<=")) return QStringLiteral(">=");
    if (op == QLatin1String(">=")) return QStringLiteral("<=");
    return op;
}

std::optional<bool> parseBoolean(const QString &text)
{
    const QString t = text.trimmed().toUpper();
    if (t == QLatin1String("TRUE") || t == QLatin1String("SI") || t == QLatin1String("SÍ") || t == QLatin1String("YES")
        || t == QLatin1String("-1") || t == QLatin1String("1"))
        return true;
    if (t == QLatin1String("FALSE") || t == QLatin1String("NO") || t == QLatin1String("0"))
        return false;
    return std::nullopt;
}

class Compiler {
public:
    Compiler(const QString &text, const FilterExpression::ColumnResolver &columns, const SqlDialect &dialect)
        : m_text(text), m_columns(columns), m_dialect(dialect)
    {
    }

    QString compile(const Node &n)
    {
        // Parameters are collected as the text is written, so the left side must come first.
        if (n.kind == Node::Kind::And || n.kind == Node::Kind::Or) {
            // A chain "a AND b AND c" is one flat list in SQL, not parentheses inside parentheses:
            // the engines' parsers nest no deeper than the filter did.
            QList<const Node *> terms;
            const Node *chain = &n;
            while (chain->kind == n.kind) {
                terms.prepend(chain->right.get());
                chain = chain->left.get();
            }
            QStringList parts{compile(*chain)};
            for (const Node *term : std::as_const(terms))
                parts << compile(*term);
            const QString op = n.kind == Node::Kind::And ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
            return QLatin1Char('(') + parts.join(op) + QLatin1Char(')');
        }
        switch (n.kind) {
        case Node::Kind::Not: return QStringLiteral("(NOT %1)").arg(compile(*n.left));
        case Node::Kind::Compare: return comparison(n);
        default: break;
        }
        throw DbError(invalidFilter(m_text, QStringLiteral("se esperaba una comparación")));
    }

    QVariantList params;

private:
    FilterExpression::Column column(const QString &name) const
    {
        const auto found = m_columns(name);
        if (!found)
            throw DbError(
                QStringLiteral("El filtro \"%1\" nombra el campo %2, que no existe.").arg(shown(m_text), name));
        return *found;
    }

    QString comparison(const Node &n)
    {
        const Node *column = &*n.left;
        const Node *value = &*n.right;
        QString op = n.op;
        if (column->kind != Node::Kind::Column && value->kind == Node::Kind::Column) {
            std::swap(column, value);
            op = mirrored(op);
        }
        if (column->kind != Node::Kind::Column)
            throw DbError(invalidFilter(m_text, QStringLiteral("una comparación debe nombrar un campo")));
        // The statement carries the dataset's own name for the column, never the text as typed.
        const FilterExpression::Column resolved = this->column(column->text);
        const FieldType type = resolved.type;
        const QString name = resolved.name;

        if (value->kind == Node::Kind::Null) {
            if (op == QLatin1String("=") || op == QLatin1String("IS"))
                return QStringLiteral("%1 IS NULL").arg(name);
            if (op == QLatin1String("<>") || op == QLatin1String("IS NOT"))
                return QStringLiteral("%1 IS NOT NULL").arg(name);
            throw DbError(invalidFilter(m_text, QStringLiteral("NULL sólo se compara con = o <>")));
        }
        if (op.startsWith(QLatin1String("IS")))
            throw DbError(invalidFilter(m_text, QStringLiteral("IS sólo se usa con NULL")));
        if (value->kind == Node::Kind::Column)
            return QStringLiteral("%1 %2 %3").arg(name, op, this->column(value->text).name);
        if (op.endsWith(QLatin1String("LIKE")))
            return like(name, op, value->text);
        const QVariant literal = coerce(value->text, type, name);
        if (type == FieldType::DateTime && literal.toDateTime().time() == QTime(0, 0)
            && !value->text.contains(QLatin1Char(':')))
            return wholeDay(name, op, literal.toDateTime());
        params << m_dialect.toDatabase(literal, type);
        return QStringLiteral("%1 %2 ?").arg(name, op);
    }

    // A date without a time means the whole day, so that a range ending on a day includes the
    // rows written late that day.
    QString wholeDay(const QString &name, const QString &op, const QDateTime &day)
    {
        const QVariant start = m_dialect.toDatabase(day, FieldType::DateTime);
        const QVariant nextDay = m_dialect.toDatabase(day.addDays(1), FieldType::DateTime);
        if (op == QLatin1String("=")) {
            params << start << nextDay;
            return QStringLiteral("(%1 >= ? AND %1 < ?)").arg(name);
        }
        if (op == QLatin1String("<>")) {
            params << start << nextDay;
            return QStringLiteral("(%1 < ? OR %1 >= ?)").arg(name);
        }
        if (op == QLatin1String("<=")) {
            params << nextDay;
            return QStringLiteral("%1 < ?").arg(name);
        }
        if (op == QLatin1String(">")) {
            params << nextDay;
            return QStringLiteral("%1 >= ?").arg(name);
        }
        params << start;
        return QStringLiteral("%1 %2 ?").arg(name, op);
    }

    QString like(const QString &name, const QString &op, const QString &pattern)
    {
        // '*' and '%' are the wildcards; every other character, '_' included, stands for itself.
        QString sqlPattern;
        for (const QChar c : pattern) {
            if (c == QLatin1Char('*') || c == QLatin1Char('%'))
                sqlPattern += QLatin1Char('%');
            else if (c == QLatin1Char('_') || c == QLatin1Char('\\'))
                sqlPattern += QLatin1Char('\\') + c;
            else
                sqlPattern += c;
        }
        // Both sides upper-cased by the same Unicode rules: the pattern here, the column in SQL.
        params << sqlPattern.toUpper();
        return QStringLiteral("%1 %2 ? ESCAPE '\\'").arg(m_dialect.upper(name), op);
    }

    QVariant coerce(const QString &text, FieldType type, const QString &name) const
    {
        auto wrong = [&](const QString &what) {
            return DbError(QStringLiteral("El filtro \"%1\" compara el campo %2 con '%3', que no es %4.")
                               .arg(shown(m_text), name, text, what));
        };
        switch (type) {
        case FieldType::DateTime: {
            const auto date = shopformat::parseDateTime(text);
            if (!date)
                throw wrong(QStringLiteral("una fecha válida"));
            return *date;
        }
        case FieldType::Boolean: {
            const auto value = parseBoolean(text);
            if (!value)
                throw wrong(QStringLiteral("un valor lógico"));
            return *value;
        }
        case FieldType::AutoInc:
        case FieldType::Integer:
        case FieldType::SmallInt:
        case FieldType::Float: {
            if (auto number = shopformat::parseNumber(text))
                return *number;
            bool ok = false;
            const double plain = text.trimmed().toDouble(&ok);
            if (!ok)
                throw wrong(QStringLiteral("un número"));
            return plain;
        }
        case FieldType::String:
        case FieldType::Memo: break;
        }
        return text;
    }

    QString m_text;
    const FilterExpression::ColumnResolver &m_columns;
    const SqlDialect &m_dialect;
};

}  // namespace

FilterExpression::FilterExpression(QString text, std::unique_ptr<Node> root)
    : m_text(std::move(text)), m_root(std::move(root))
{
}
FilterExpression::FilterExpression(FilterExpression &&) noexcept = default;
FilterExpression &FilterExpression::operator=(FilterExpression &&) noexcept = default;
FilterExpression::~FilterExpression() = default;

FilterExpression FilterExpression::parse(const QString &text)
{
    Lexer lexer(text);
    Parser parser(text, lexer.tokens());
    return FilterExpression(text, parser.parse());
}

SqlCondition FilterExpression::toSql(const ColumnResolver &columns, const SqlDialect &dialect) const
{
    Compiler compiler(m_text, columns, dialect);
    SqlCondition condition;
    condition.sql = compiler.compile(*m_root);
    condition.params = compiler.params;
    return condition;
}

}  // namespace vx
