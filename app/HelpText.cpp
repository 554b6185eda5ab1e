#include "HelpText.h"

namespace helptext {

QString Title() {
    return QString::fromUtf8("Come si usa Tessaro");
}

QStringList Steps() {
    return {
        QString::fromUtf8("Trascina le immagini .bmp, .gif o .jpg su uno dei cinque riquadri in "
                          "basso: ogni riquadro è una dimensione. Da tastiera: Tab fino al "
                          "riquadro, poi Invio per scegliere i file."),
        QString::fromUtf8("Custom usa la larghezza e l'altezza scritte sotto il suo riquadro."),
        QString::fromUtf8("Rispetta le proporzioni: l'immagine non si deforma. Blocca Larg. o "
                          "Blocca Alt. sceglie il lato che resta fisso."),
        QString::fromUtf8(
            "Nome File con ris. imm.: aggiunge la dimensione al nome (foto_640x480.jpg)."),
        QString::fromUtf8(
            "Qualità immagini: qualità, sub sampling, bianco e nero e commento dei file JPEG."),
        QString::fromUtf8("Form OnTop tiene la finestra sopra le altre."),
        QString::fromUtf8("I file finiti vanno nella cartella Elaborate. Esc ferma il lavoro "
                          "dopo il file in corso."),
    };
}

QString Closing() {
    return QString::fromUtf8("Premi OK per tornare al programma.");
}

QString Spoken() {
    QString text = Title() + QLatin1Char('.');
    int n = 1;
    for (const QString& step : Steps())
        text += QStringLiteral(" %1. %2").arg(n++).arg(step);
    return text + QLatin1Char(' ') + Closing();
}

}  // namespace helptext
