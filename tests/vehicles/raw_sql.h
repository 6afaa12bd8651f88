#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

// Runs statements on a database file through a connection of the test's
// own, as an older tool or another program would; the first value the last
// one gave, or "failed: " and the statement that failed.
inline QVariant rawSql(const QString &path, const QStringList &statements) {
    QVariant result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
        db.setDatabaseName(path);
        QSqlQuery q(db);
        for (const QString &statement : statements) {
            if (!db.isOpen() && !db.open())
                result = QStringLiteral("failed: open");
            else if (!q.exec(statement))
                result = QStringLiteral("failed: ") + statement;
            else
                result = q.next() ? q.value(0) : QVariant();
            if (result.toString().startsWith(QLatin1String("failed: ")))
                break;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    return result;
}
