#include "app/CommandLine.h"

#include <QCommandLineParser>

const QString CommandLine::kUsage = QStringLiteral(
    "Uso: cantorium --canzoniere FILE.mus --pdf FILE.pdf [--segnalati] [--traduzione] "
    "[--ordine titolo|cantante]");

bool wantsCommandLine(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (arguments.at(i).startsWith(QLatin1String("--")))
            return true;
    return false;
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine out;
    if (!wantsCommandLine(arguments))
        return out;
    auto fail = [&out](const QString &why) {
        out.action = CommandLine::Action::Fail;
        out.error = QStringLiteral("Attenzione: ") + why + QLatin1Char('\n') + CommandLine::kUsage;
        return out;
    };

    QCommandLineParser parser;
    const QCommandLineOption songbook(QStringLiteral("canzoniere"), QString(), QStringLiteral("FILE.mus"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QString(), QStringLiteral("FILE.pdf"));
    const QCommandLineOption flagged(QStringLiteral("segnalati"));
    const QCommandLineOption translation(QStringLiteral("traduzione"));
    const QCommandLineOption order(QStringLiteral("ordine"), QString(), QStringLiteral("titolo|cantante"));
    parser.addOptions({songbook, pdf, flagged, translation, order});
    // One dash or two mean the same long option; no option is a bundle of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return fail(QStringLiteral("opzione sconosciuta \"%1\".").arg(unknown.first()));
        // Otherwise an option that takes a value came last, without it.
        return fail(QStringLiteral("l'opzione \"%1\" vuole un valore.").arg(arguments.last()));
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("argomento inatteso \"%1\".").arg(parser.positionalArguments().first()));
    for (const QCommandLineOption *single : {&songbook, &pdf, &order})
        if (parser.values(*single).size() > 1)
            return fail(QStringLiteral("l'opzione --%1 è data più volte.").arg(single->names().first()));
    if (!parser.isSet(songbook))
        return fail(QStringLiteral("manca --canzoniere con la collection da stampare."));
    if (!parser.isSet(pdf))
        return fail(QStringLiteral("manca --pdf con il file da scrivere."));

    out.collection = parser.value(songbook);
    out.pdf = parser.value(pdf);
    if (out.collection.isEmpty())
        return fail(QStringLiteral("--canzoniere vuole il nome di una collection."));
    if (out.pdf.isEmpty())
        return fail(QStringLiteral("--pdf vuole il nome del file da scrivere."));
    out.flagged = parser.isSet(flagged);
    out.translation = parser.isSet(translation);
    if (parser.isSet(order)) {
        const QString value = parser.value(order);
        if (value == QLatin1String("titolo"))
            out.order = CommandLine::Order::Title;
        else if (value == QLatin1String("cantante"))
            out.order = CommandLine::Order::Singer;
        else
            return fail(QStringLiteral("ordine sconosciuto \"%1\": si può scegliere titolo o cantante.").arg(value));
    }
    out.action = CommandLine::Action::Songbook;
    return out;
}
