// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QCommandLineParser>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

namespace morvelin {

// The words after a verb, read by QCommandLineParser. Only an option's exact spelling ("--out") is an
// option: a word such as "-x" or "-" is a file name, and "--", "--out=DIR" or any other word starting
// with "--" is an option the verb does not know. The words are read one by one, so the problem reported
// is the first one on the line, and an option given twice keeps its last value.
class VerbArguments {
public:
    // Whether a value is good for its option.
    using Check = std::function<bool(const QString&)>;

    explicit VerbArguments(const QString& verb);

    // An option without a value.
    void addSwitch(const QString& name);
    // An option followed by `values` values (1 or 2), the next words whatever they are. `missing` is
    // the problem when the line ends before them, `bad` (or `missing` when empty) when `check` refuses one.
    void addValue(const QString& name, const QString& missing, const Check& check = {}, const QString& bad = {},
                  int values = 1);
    // The problem when a second operand follows a non-empty one.
    void setExtraOperand(const QString& problem);

    // False with problem() set at the first problem on the line.
    bool parse(const QStringList& words);
    QString problem() const { return m_problem; }

    bool isSet(const QString& name) const;
    // The option's last value (its first when it takes two).
    QString value(const QString& name) const;
    // The second value of an option taking two.
    QString secondValue(const QString& name) const;
    // The last operand, empty when none.
    QString operand() const;
    // Every operand, in the order they stand on the line.
    QStringList operands() const;
    // Every value of the options `names` (first values only), with its option's name, in the order
    // they stand on the line: for options that may be given more than once, and whose meaning
    // depends on where they stand.
    std::vector<std::pair<QString, QString>> valuesInOrder(const QStringList& names) const;

private:
    struct ValueRule {
        QString missing;
        Check check;
        QString bad;
        int values = 1;
    };

    // Each returns the problem with the word, empty when none; `secondOf` names the option whose
    // second value comes next.
    QString read(const QString& word, QString& secondOf);
    QString readSecondValue(const QString& word, QString& secondOf);
    QString problemWithOperand(const QString& word) const;
    QString problemWithValue(const QString& name, const QString& value) const;

    QString m_verb;
    QString m_extraOperand;
    QCommandLineParser m_parser;
    QStringList m_read; // the words so far as the parser sees them, after a place for the program's name
    QStringList m_names;
    QHash<QString, ValueRule> m_rules;
    QHash<QString, QString> m_secondValues;
    std::vector<std::pair<QString, QString>> m_values; // every first value read, with its option's name
    QString m_problem;
    bool m_optionsEnded = false; // a "--" was read
};

} // namespace morvelin
