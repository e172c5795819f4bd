#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

namespace vx {
class Connection;
class Dataset;
} // namespace vx

// The customer file CLIENTE and the supplier file PROVEEDORES share their layout; what the
// maintenance windows read and write of one row lives here once, the table named by the caller.
namespace app {

// One row as the maintenance boxes hold it.
struct ClienteRecord {
    int code = 0;           // CLICOD
    QString name;           // CLIAPE
    QString address;        // CLIDIR
    QString postcode;       // CLIC_P
    QString town;           // CLILOC
    QString province;       // CLIPRO
    QString phone;          // CLITEL
    QString mobile;         // CLICEL
    QString mail;           // CLIMAIL
    QString taxCondition;   // CLIIVA
    QString taxNumber;      // CLICUI
    QString documentType;   // CLITDOC
    int documentNumber = 0; // CLINDOC
    QDate date;             // CLIFEC
    double balance = 0;     // CLISAL
    QString observations;   // CLIOBS
};

// What a save did: the code stored under, whether the row is new, and whether a proposed code
// another workstation took meanwhile moved it to the next free one.
struct ClienteSaved {
    int code = 0;
    bool added = false;
    bool movedToFreeCode = false;
};

// The columns the boxes fill, CLISAL not among them, in the order of clienteValues().
const QStringList &clienteColumns();
QVariantList clienteValues(const ClienteRecord &record);

// The first row stored with the code.
std::optional<ClienteRecord> findCliente(vx::Connection &connection, const QString &table, int code);
// The row at a cursor's position.
ClienteRecord clienteAt(const vx::Dataset &cursor);
// The row identity of the first row with the code, or -1.
qint64 clienteRowOf(vx::Connection &connection, const QString &table, int code);
// The highest stored code + 1; 1 for an empty file.
int nextClienteCode(vx::Connection &connection, const QString &table);
// Sets columns of one row, each value in its column's stored form and within its size.
void updateCliente(vx::Connection &connection, const QString &table, qint64 id, const QStringList &columns,
                   const QVariantList &values);

} // namespace app
