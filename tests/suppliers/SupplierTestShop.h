#pragma once
// A fresh shop for the supplier tests, on the engine under test: suppliers and their documents
// written through the recordings, and the account read back.
#include "../common/ShopDatabase.h"

#include "platform/core/ShopFormat.h"
#include "platform/db/DateTimeValue.h"
#include "suppliers/SupplierDocuments.h"
#include "suppliers/SupplierPayment.h"
#include "suppliers/SupplierText.h"

#include <QSqlQuery>
#include <QSqlRecord>

class SupplierTestShop : public ShopDatabase {
public:
    int supplier(const QString &name) { return suppliers::createSupplier(db(), name); }
    qint64 document(int supplierCode, const QString &type, double number, const QDate &date, double total)
    {
        return suppliers::recordSupplierDocument(
            db(), {supplierCode, type == QLatin1String("26") ? suppliers::DocumentType::Credit
                                                           : suppliers::DocumentType::Invoice,
                   number, date, total, 1, {}, {}});
    }
    // A document as data kept from before this program refused duplicates (two invoices under one
    // number): written straight into the tables.
    qint64 legacyDocument(int supplierCode, const QString &type, double number, const QDate &date, double total)
    {
        insert(QStringLiteral("PROCOM"),
               {QStringLiteral("COMTIP"), QStringLiteral("COMCLI"), QStringLiteral("COMNRO"), QStringLiteral("COMDIA"),
                QStringLiteral("COMTOT"), QStringLiteral("COMSAL")},
               {type, supplierCode, number, vx::naiveDateTime(date), total, total});
        connection->execute(QStringLiteral("UPDATE PROVEEDORES SET CLISAL = CLISAL + ? WHERE CLICOD = ?"),
                            {type == QLatin1String("26") ? -total : total, supplierCode});
        return connection->scalar(QStringLiteral("SELECT MAX(COMUNO) FROM PROCOM")).toLongLong();
    }
    double balanceOf(qint64 key)
    {
        return connection->scalar(QStringLiteral("SELECT COMSAL FROM PROCOM WHERE COMUNO = ?"), {key}).toDouble();
    }
    double supplierBalance(int code)
    {
        return connection->scalar(QStringLiteral("SELECT CLISAL FROM PROVEEDORES WHERE CLICOD = ?"), {code}).toDouble();
    }
    // The marked document as the list shows it: its key and its balance now.
    suppliers::MarkedDocument marked(qint64 key) { return {key, suppliers::toCents(balanceOf(key))}; }

    // Rows of a query, each as its columns' texts joined with blanks (numbers as the lists show them).
    QStringList lines(const QString &sql)
    {
        QSqlQuery query = connection->execute(sql);
        QStringList out;
        while (query.next()) {
            QStringList parts;
            for (int c = 0; c < query.record().count(); ++c) {
                const QVariant value = query.value(c);
                const bool number = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Int ||
                                    value.typeId() == QMetaType::LongLong;
                parts << (number ? vx::shopformat::formatGeneral(value.toDouble()) : value.toString());
            }
            out << parts.join(QLatin1Char(' '));
        }
        return out;
    }
};
