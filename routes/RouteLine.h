#pragma once

#include "common/Money.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <optional>

// A route line as the console hands it to the card processor. The fare is read once, where
// the line is loaded; the text as written stays beside it for the trip log and for a fare
// that is not a number, and the file and line number for a message about it.
struct RouteLine {
    QString route;
    QString destination;
    std::optional<Money> fare; // nothing: the text is not a number
    QString fareText;          // as the line writes it
    QString file;              // empty: the line comes from no file
    qsizetype number = 0;      // 1-based; 0: no line has given the fare yet

    // What the console shows after 車費: "0.00", or the text as it stands.
    QString fareShown() const { return fare ? fare->text() : fareText; }

    // "/path/routes.dat 第 3 行"; empty when the fare comes from no line of a file.
    QString where() const
    {
        if (file.isEmpty() || number < 1)
            return {};
        // One arg() for both: a "%1" in the path must not take the line number.
        return QCoreApplication::translate("RouteLine", "%1 第 %2 行")
            .arg(QDir::toNativeSeparators(file), QString::number(number));
    }
};
