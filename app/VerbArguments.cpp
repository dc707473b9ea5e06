// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/VerbArguments.h"

#include <utility>

namespace morvelin {

namespace {

// No word of a command line holds a NUL, so one in front makes the parser take a word for an operand
// (or leave it as a value); it is taken off again when the word is read back.
const QChar operandMark(u'\0');

QString unmarked(const QString& word)
{
    return word.startsWith(operandMark) ? word.mid(1) : word;
}

} // namespace

VerbArguments::VerbArguments(const QString& verb)
    : m_verb(verb)
{
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
}

void VerbArguments::addSwitch(const QString& name)
{
    m_parser.addOption(QCommandLineOption(name));
    m_names.append(name);
}

void VerbArguments::addValue(const QString& name, const QString& missing, const Check& check, const QString& bad,
                             int values)
{
    m_parser.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    m_names.append(name);
    m_rules.insert(name, ValueRule{missing, check, bad.isEmpty() ? missing : bad, values});
}

void VerbArguments::setExtraOperand(const QString& problem)
{
    m_extraOperand = problem;
}

bool VerbArguments::parse(const QStringList& words)
{
    m_problem.clear();
    m_optionsEnded = false;
    m_secondValues.clear();
    m_values.clear();
    m_read = QStringList{QString()};
    m_parser.parse(m_read);
    QString secondOf;
    for (const QString& word : words) {
        m_problem = secondOf.isEmpty() ? read(word, secondOf) : readSecondValue(word, secondOf);
        if (!m_problem.isEmpty()) {
            return false;
        }
    }
    // The parser's only complaint can be an option at the end that lacks its value.
    if (!m_parser.errorText().isEmpty()) {
        secondOf = m_parser.optionNames().constLast();
    }
    if (secondOf.isEmpty()) {
        return true;
    }
    m_problem = m_rules.value(secondOf).missing;
    return false;
}

QString VerbArguments::read(const QString& word, QString& secondOf)
{
    // The parser reads a whole line and keeps no order between options, values and operands; reading
    // the line again one word longer tells what that word was.
    const qsizetype optionsBefore = m_parser.optionNames().size();
    const qsizetype operandsBefore = m_parser.positionalArguments().size();
    const bool option = !m_optionsEnded && word.startsWith(QLatin1String("--")) && m_names.contains(word.mid(2));
    m_read.append(word.startsWith(QLatin1Char('-')) && !option ? operandMark + word : word);
    m_parser.parse(m_read);
    if (m_parser.positionalArguments().size() > operandsBefore) {
        if (!m_optionsEnded && word == QLatin1String("--")) {
            // The end of the options: every word after it is an operand, a folder named "--x" too.
            m_optionsEnded = true;
            m_read.removeLast();
            m_parser.parse(m_read);
            return QString();
        }
        return problemWithOperand(word);
    }
    if (m_parser.optionNames().size() > optionsBefore) {
        return QString();
    }
    // Neither an option nor an operand: the value of the option before it.
    const QString name = m_parser.optionNames().constLast();
    secondOf = m_rules.value(name).values == 2 ? name : QString();
    m_values.emplace_back(name, word);
    return problemWithValue(name, word);
}

QString VerbArguments::readSecondValue(const QString& word, QString& secondOf)
{
    const QString name = std::exchange(secondOf, QString());
    m_secondValues.insert(name, word);
    return problemWithValue(name, word);
}

QString VerbArguments::problemWithOperand(const QString& word) const
{
    if (!m_optionsEnded && word.startsWith(QLatin1String("--"))) {
        return QStringLiteral("%1 does not know the option '%2'").arg(m_verb, word);
    }
    const QStringList operands = m_parser.positionalArguments();
    if (operands.size() > 1 && !m_extraOperand.isEmpty() && !unmarked(operands[operands.size() - 2]).isEmpty()) {
        return m_extraOperand;
    }
    return QString();
}

QString VerbArguments::problemWithValue(const QString& name, const QString& value) const
{
    const ValueRule rule = m_rules.value(name);
    return rule.check && !rule.check(value) ? rule.bad : QString();
}

bool VerbArguments::isSet(const QString& name) const
{
    return m_parser.isSet(name);
}

QString VerbArguments::value(const QString& name) const
{
    return unmarked(m_parser.value(name));
}

QString VerbArguments::secondValue(const QString& name) const
{
    return m_secondValues.value(name);
}

std::vector<std::pair<QString, QString>> VerbArguments::valuesInOrder(const QStringList& names) const
{
    std::vector<std::pair<QString, QString>> values;
    for (const auto& [name, value] : m_values) {
        if (names.contains(name)) {
            values.emplace_back(name, unmarked(value));
        }
    }
    return values;
}

QStringList VerbArguments::operands() const
{
    QStringList operands;
    for (const QString& operand : m_parser.positionalArguments()) {
        if (!unmarked(operand).isEmpty()) {
            operands.append(unmarked(operand));
        }
    }
    return operands;
}

QString VerbArguments::operand() const
{
    const QStringList operands = m_parser.positionalArguments();
    return operands.isEmpty() ? QString() : unmarked(operands.constLast());
}

} // namespace morvelin
