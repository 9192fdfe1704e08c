<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>AlmanacPages</name>
    <message>
        <source>Januar</source>
        <translation>January</translation>
    </message>
    <message>
        <source>Februar</source>
        <translation>February</translation>
    </message>
    <message>
        <source>März</source>
        <translation>March</translation>
    </message>
    <message>
        <source>April</source>
        <translation>April</translation>
    </message>
    <message>
        <source>Mai</source>
        <translation>May</translation>
    </message>
    <message>
        <source>Juni</source>
        <translation>June</translation>
    </message>
    <message>
        <source>Juli</source>
        <translation>July</translation>
    </message>
    <message>
        <source>August</source>
        <translation>August</translation>
    </message>
    <message>
        <source>September</source>
        <translation>September</translation>
    </message>
    <message>
        <source>Oktober</source>
        <translation>October</translation>
    </message>
    <message>
        <source>November</source>
        <translation>November</translation>
    </message>
    <message>
        <source>Dezember</source>
        <translation>December</translation>
    </message>
    <message>
        <source>Sonnenaufgang und Sonnenuntergang %1</source>
        <translation>Sunrise and sunset %1</translation>
    </message>
    <message>
        <source>Auf</source>
        <translation>Rise</translation>
    </message>
    <message>
        <source>Unt</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>Bürgerliche Dämmerung %1 (Sonne 6° unter dem Horizont)</source>
        <translation>Civil twilight %1 (Sun 6° below the horizon)</translation>
    </message>
    <message>
        <source>Beg</source>
        <translation>Begin</translation>
    </message>
    <message>
        <source>Ende</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Nautische Dämmerung %1 (Sonne 12° unter dem Horizont)</source>
        <translation>Nautical twilight %1 (Sun 12° below the horizon)</translation>
    </message>
    <message>
        <source>Astronomische Dämmerung %1 (Sonne 18° unter dem Horizont)</source>
        <translation>Astronomical twilight %1 (Sun 18° below the horizon)</translation>
    </message>
    <message>
        <source>Mondaufgang und Monduntergang %1</source>
        <translation>Moonrise and moonset %1</translation>
    </message>
    <message>
        <source>Ortszeit, auf die Minute gerundet.  — kein solches Ereignis an dem Tag;  **** Sonne den ganzen Tag über dem Horizont;  ---- den ganzen Tag darunter.</source>
        <translation>Local time, rounded to the minute.  — no such event on the day;  **** Sun above the horizon all day;  ---- below it all day.</translation>
    </message>
    <message>
        <source>Ortszeit, auf die Minute gerundet.  — kein solches Ereignis an dem Tag.</source>
        <translation>Local time, rounded to the minute.  — no such event on the day.</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>Aufgang</source>
        <translation>Sunrise</translation>
    </message>
    <message>
        <source>Untergang</source>
        <translation>Sunset</translation>
    </message>
    <message>
        <source>Tageslänge</source>
        <translation>Day length</translation>
    </message>
    <message>
        <source>Bürg. Beg</source>
        <translation>Civil beg</translation>
    </message>
    <message>
        <source>Bürg. Ende</source>
        <translation>Civil end</translation>
    </message>
    <message>
        <source>Naut. Beg</source>
        <translation>Naut. beg</translation>
    </message>
    <message>
        <source>Naut. Ende</source>
        <translation>Naut. end</translation>
    </message>
    <message>
        <source>Astr. Beg</source>
        <translation>Astr. beg</translation>
    </message>
    <message>
        <source>Astr. Ende</source>
        <translation>Astr. end</translation>
    </message>
    <message>
        <source>Mond auf</source>
        <translation>Moonrise</translation>
    </message>
    <message>
        <source>Mond unt</source>
        <translation>Moonset</translation>
    </message>
    <message>
        <source>beleuchtet %</source>
        <translation>illuminated %</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>Ereignisse des Monats</source>
        <translation>Events of the month</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <source>O</source>
        <translation>E</translation>
    </message>
    <message>
        <source>W</source>
        <translation>W</translation>
    </message>
    <message>
        <source>Ort: %1</source>
        <translation>Place: %1</translation>
    </message>
    <message>
        <source>Ort: %1 (%2)</source>
        <translation>Place: %1 (%2)</translation>
    </message>
    <message>
        <source>Zeitzone: %1, Sommerzeit nach den Regeln der Zone</source>
        <translation>Time zone: %1, summer time by the zone&apos;s rules</translation>
    </message>
    <message>
        <source>Zeitzone: %1, Sommerzeit (+1 h) vom letzten Sonntag im März bis zum letzten Sonntag im Oktober</source>
        <translation>Time zone: %1, summer time (+1 h) from the last Sunday of March to the last Sunday of October</translation>
    </message>
    <message>
        <source>Zeiten: präzise (zwischen den Stundenwerten verfeinert)</source>
        <translation>Times: precise (refined between the hourly values)</translation>
    </message>
    <message>
        <source>Zeiten: klassisch (aus den Stundenwerten)</source>
        <translation>Times: classic (from the hourly values)</translation>
    </message>
    <message>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Sonnenaufgang</source>
        <translation>Sunrise</translation>
    </message>
    <message>
        <source>Sonnenuntergang</source>
        <translation>Sunset</translation>
    </message>
    <message>
        <source>Bürgerliche Dämmerung Beginn</source>
        <translation>Civil twilight begins</translation>
    </message>
    <message>
        <source>Bürgerliche Dämmerung Ende</source>
        <translation>Civil twilight ends</translation>
    </message>
    <message>
        <source>Nautische Dämmerung Beginn</source>
        <translation>Nautical twilight begins</translation>
    </message>
    <message>
        <source>Nautische Dämmerung Ende</source>
        <translation>Nautical twilight ends</translation>
    </message>
    <message>
        <source>Astronomische Dämmerung Beginn</source>
        <translation>Astronomical twilight begins</translation>
    </message>
    <message>
        <source>Astronomische Dämmerung Ende</source>
        <translation>Astronomical twilight ends</translation>
    </message>
    <message>
        <source>Mondaufgang</source>
        <translation>Moonrise</translation>
    </message>
    <message>
        <source>Monduntergang</source>
        <translation>Moonset</translation>
    </message>
    <message>
        <source>Mond beleuchtet (%)</source>
        <translation>Moon illuminated (%)</translation>
    </message>
    <message>
        <source>Mondalter (Tage)</source>
        <translation>Moon&apos;s age (days)</translation>
    </message>
    <message>
        <source>Mondphase</source>
        <translation>Moon phase</translation>
    </message>
</context>
<context>
    <name>Calendar</name>
    <message>
        <source>O</source>
        <comment>east, after the longitude</comment>
        <translation>E</translation>
    </message>
    <message>
        <source>Ortszeit: </source>
        <translation>Local time: </translation>
    </message>
</context>
<context>
    <name>DayChart</name>
    <message>
        <source>Sonntag</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>Aufgang:</source>
        <translation>Rise:</translation>
    </message>
    <message>
        <source>Untergang:</source>
        <translation>Set:</translation>
    </message>
    <message>
        <source>Montag</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>Dienstag</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>Mittwoch</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>Donnerstag</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>Freitag</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>Samstag</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>MOO A: </source>
        <translation>MOO R: </translation>
    </message>
    <message>
        <source>MER A: </source>
        <translation>MER R: </translation>
    </message>
    <message>
        <source>VEN A: </source>
        <translation>VEN R: </translation>
    </message>
    <message>
        <source>MAR A: </source>
        <translation>MAR R: </translation>
    </message>
    <message>
        <source>JUP A: </source>
        <translation>JUP R: </translation>
    </message>
    <message>
        <source>SAT A: </source>
        <translation>SAT R: </translation>
    </message>
    <message>
        <source>URA A: </source>
        <translation>URA R: </translation>
    </message>
    <message>
        <source>NEP A: </source>
        <translation>NEP R: </translation>
    </message>
    <message>
        <source>(+01:00 Sommerzeit)</source>
        <translation>(+01:00 DST)</translation>
    </message>
    <message>
        <source>(Normalzeit)</source>
        <translation>(standard time)</translation>
    </message>
    <message>
        <source>Zeitzone</source>
        <translation>Time zone</translation>
    </message>
    <message>
        <source>  U: </source>
        <translation>  S: </translation>
    </message>
    <message>
        <source>Mond: %1 % beleuchtet, Alter %2 Tage (Mittag)</source>
        <translation>Moon: %1 % illuminated, age %2 days (noon)</translation>
    </message>
    <message>
        <source>Tageslänge: </source>
        <translation>Day length: </translation>
    </message>
    <message>
        <source>Tageslänge %1 (Polartag)</source>
        <translation>Day length %1 (polar day)</translation>
    </message>
    <message>
        <source>Tageslänge %1 (Polarnacht)</source>
        <translation>Day length %1 (polar night)</translation>
    </message>
    <message>
        <source>Tageslänge %1</source>
        <translation>Day length %1</translation>
    </message>
    <message>
        <source>%1 % beleuchtet, Alter %2 Tage</source>
        <translation>%1 % illuminated, age %2 days</translation>
    </message>
</context>
<context>
    <name>EventGroups</name>
    <message>
        <source>Dämmerungen</source>
        <translation>Twilights</translation>
    </message>
    <message>
        <source>Sonnenauf- und -untergang</source>
        <translation>Sunrise and sunset</translation>
    </message>
    <message>
        <source>Auf- und Untergänge von Mond und Planeten</source>
        <translation>Rises and sets of the Moon and the planets</translation>
    </message>
    <message>
        <source>Meridiandurchgänge</source>
        <translation>Meridian transits</translation>
    </message>
    <message>
        <source>Mondphasen</source>
        <translation>Phases of the Moon</translation>
    </message>
    <message>
        <source>Jahreszeiten</source>
        <translation>Seasons</translation>
    </message>
    <message>
        <source>Planetenkonstellationen</source>
        <translation>Planetary configurations</translation>
    </message>
    <message>
        <source>Erdnähe, Erdferne, Sonnennähe, Sonnenferne</source>
        <translation>Perigee, apogee, perihelion, aphelion</translation>
    </message>
    <message>
        <source>Extreme der Deklination</source>
        <translation>Extremes of declination</translation>
    </message>
    <message>
        <source>Finsternisse und Bedeckungen</source>
        <translation>Eclipses and occultations</translation>
    </message>
    <message>
        <source>Goldene und blaue Stunde</source>
        <translation>Golden and blue hour</translation>
    </message>
</context>
<context>
    <name>VersionInfo</name>
    <message>
        <source>Vesperkalend – Himmelskalender</source>
        <translation>Vesperkalend – sky almanac</translation>
    </message>
</context>
<context>
    <name>Window</name>
    <message>
        <source>Jahr vor</source>
        <translation>Next year</translation>
    </message>
    <message>
        <source>Monat vor</source>
        <translation>Next month</translation>
    </message>
    <message>
        <source>Tag vor</source>
        <translation>Next day</translation>
    </message>
    <message>
        <source>Jahr zurück</source>
        <translation>Previous year</translation>
    </message>
    <message>
        <source>Monat zurück</source>
        <translation>Previous month</translation>
    </message>
    <message>
        <source>Tag zurück</source>
        <translation>Previous day</translation>
    </message>
    <message>
        <source>Heute</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>Sonne: Aufg. / Unterg. / Dämmerung</source>
        <translation>Sun: rise / set / twilight</translation>
    </message>
    <message>
        <source>Planeten: Aufgang / Untergang</source>
        <translation>Planets: rise / set</translation>
    </message>
    <message>
        <source>Planeten: Meridiandurchgang</source>
        <translation>Planets: meridian transit</translation>
    </message>
    <message>
        <source>Termine exportieren</source>
        <translation>Export events</translation>
    </message>
    <message>
        <source>Jahreszeiten auch nach dem Äquator</source>
        <translation>Seasons also by the equator</translation>
    </message>
    <message>
        <source>Jeder Jahreszeitenanfang zweimal: nach der Ekliptik und nach dem Äquator, Sekunden auseinander</source>
        <translation>Each start of a season twice: by the ecliptic and by the equator, seconds apart</translation>
    </message>
    <message>
        <source>&amp;Von:</source>
        <translation>&amp;From:</translation>
    </message>
    <message>
        <source>&amp;Bis:</source>
        <translation>&amp;To:</translation>
    </message>
    <message>
        <source>Ereignisse</source>
        <translation>Events</translation>
    </message>
    <message>
        <source>Exportieren …</source>
        <translation>Export …</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Tabellen von %1 werden berechnet...</source>
        <translation>Making the tables of %1...</translation>
    </message>
    <message>
        <source>Parameter der Vorgängerversion %1 werden gelöscht</source>
        <translation>The settings of the earlier version %1 are deleted</translation>
    </message>
    <message>
        <source>Das Programm wird gleich beendet werden.
<byte value="xd"/>Bitte starten Sie Vesperkalend erneut.</source>
        <translation>The program will end now.
<byte value="xd"/>Please start Vesperkalend again.</translation>
    </message>
    <message>
        <source>Diagramm speichern</source>
        <translation>Save chart</translation>
    </message>
    <message>
        <source>Bilder und PDF (*.png *.jpg *.jpeg *.bmp *.pdf);;PNG (*.png);;JPEG (*.jpg *.jpeg);;BMP (*.bmp);;PDF (*.pdf)</source>
        <translation>Pictures and PDF (*.png *.jpg *.jpeg *.bmp *.pdf);;PNG (*.png);;JPEG (*.jpg *.jpeg);;BMP (*.bmp);;PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Monatsblatt speichern</source>
        <translation>Save month sheet</translation>
    </message>
    <message>
        <source>Jahr %1 liegt außerhalb der Daten (%2 – %3)</source>
        <translation>Year %1 is outside the data (%2 – %3)</translation>
    </message>
    <message>
        <source>Gespeichert: %1</source>
        <translation>Saved: %1</translation>
    </message>
    <message>
        <source>Keine Breite: %1. Eine Zahl wie 47,5 oder -33.9 eingeben.</source>
        <translation>Not a latitude: %1. Type a number such as 47.5 or -33.9.</translation>
    </message>
    <message>
        <source>Keine Länge: %1. Eine Zahl wie 7,5 oder -122.4 eingeben.</source>
        <translation>Not a longitude: %1. Type a number such as 7.5 or -122.4.</translation>
    </message>
    <message>
        <source>Kein Drucker eingerichtet. Das Diagramm lässt sich mit „Diagramm speichern …“ als PDF sichern und später drucken.</source>
        <translation>No printer is set up. The chart can be saved as a PDF with “Save chart …” and printed later.</translation>
    </message>
    <message>
        <source>Diagramm drucken</source>
        <translation>Print chart</translation>
    </message>
    <message>
        <source>%1 Termine exportiert: %2</source>
        <translation>%1 events exported: %2</translation>
    </message>
    <message>
        <source>Das Startdatum liegt nach dem Enddatum</source>
        <translation>The start date lies after the end date</translation>
    </message>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Diagramm &amp;speichern …</source>
        <translation>&amp;Save chart …</translation>
    </message>
    <message>
        <source>Diagramm in &amp;Bildschirmgröße speichern …</source>
        <translation>Save chart at s&amp;creen size …</translation>
    </message>
    <message>
        <source>&amp;Monatsblatt speichern …</source>
        <translation>Save &amp;month sheet …</translation>
    </message>
    <message>
        <source>&amp;Drucken …</source>
        <translation>&amp;Print …</translation>
    </message>
    <message>
        <source>&amp;Termine exportieren …</source>
        <translation>&amp;Export events …</translation>
    </message>
    <message>
        <source>Bildschirm&amp;foto beim Beenden speichern</source>
        <translation>Save a screen dump at &amp;close</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Make binary files</source>
        <translation>Make binary files</translation>
    </message>
    <message>
        <source>Compute all data</source>
        <translation>Compute all data</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;about</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>eigene Koordinaten</source>
        <translation>own coordinates</translation>
    </message>
    <message>
        <source>Keine Zeitzonen-Datenbank (%1): nur die 40 festen Zeitzonen</source>
        <translation>No time zone database (%1): only the 40 fixed zones</translation>
    </message>
    <message>
        <source>Zeitzonen-Tabelle unbrauchbar (%1): nur die 40 festen Zeitzonen</source>
        <translation>Time zone table unusable (%1): only the 40 fixed zones</translation>
    </message>
    <message>
        <source>&amp;Ansicht</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Exakte Zeiten</source>
        <translation>&amp;Exact times</translation>
    </message>
    <message>
        <source>&amp;Fotografenlicht</source>
        <translation>&amp;Photographer&apos;s light</translation>
    </message>
    <message>
        <source>Beschriftung mit &amp;Führungslinien</source>
        <translation>Labels with &amp;leader lines</translation>
    </message>
    <message>
        <source>&amp;Legende der Spalten</source>
        <translation>&amp;Legend of the columns</translation>
    </message>
    <message>
        <source>&amp;Jetzt-Linie</source>
        <translation>&amp;Now line</translation>
    </message>
    <message>
        <source>Nur mit „Ansicht“ → „Fotografenlicht“ berechnet</source>
        <translation>Computed only with “View” → “Photographer&apos;s light”</translation>
    </message>
    <message>
        <source>&amp;Sprache</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>Die Sprache wechselt beim nächsten Start von Vesperkalend</source>
        <translation>The language changes at the next start of Vesperkalend</translation>
    </message>
    <message>
        <source>&amp;Nachtansicht</source>
        <translation>&amp;Night view</translation>
    </message>
    <message>
        <source>Druck&amp;farben</source>
        <translation>Print &amp;colours</translation>
    </message>
    <message>
        <source>Die Optionsdatei konnte nicht geschrieben werden</source>
        <translation>The options file could not be written</translation>
    </message>
    <message>
        <source>Geogr. Breite +=N -=S</source>
        <translation>Latitude +=N -=S</translation>
    </message>
    <message>
        <source>Geogr. Länge +=O -=W</source>
        <translation>Longitude +=E -=W</translation>
    </message>
    <message>
        <source>Breite −0,5°</source>
        <translation>Latitude −0.5°</translation>
    </message>
    <message>
        <source>Breite +0,5°</source>
        <translation>Latitude +0.5°</translation>
    </message>
    <message>
        <source>Länge −0,5°</source>
        <translation>Longitude −0.5°</translation>
    </message>
    <message>
        <source>Länge +0,5°</source>
        <translation>Longitude +0.5°</translation>
    </message>
    <message>
        <source>Monde anpassen</source>
        <translation>Prepare Moon</translation>
    </message>
    <message>
        <source>Venus anpassen</source>
        <translation>Prepare Venus</translation>
    </message>
    <message>
        <source>Merkur anpassen</source>
        <translation>Prepare Mercury</translation>
    </message>
    <message>
        <source>Zeitzone</source>
        <translation>Zone</translation>
    </message>
    <message>
        <source>Ort</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>Ort eingeben oder wählen: setzt Breite, Länge und Zeitzone</source>
        <translation>Type or choose a place: sets latitude, longitude and time zone</translation>
    </message>
    <message>
        <source>%1 Orte passen zu „%2“: bitte einen wählen</source>
        <translation>%1 places fit “%2”: please choose one</translation>
    </message>
    <message>
        <source>Ort „%1“ unbekannt; ähnlich: %2</source>
        <translation>Unknown place “%1”; close matches: %2</translation>
    </message>
    <message>
        <source>Mausrad oder Strg + und Strg −: Bild vergrößern und verkleinern; ziehen: das vergrößerte Bild verschieben</source>
        <translation>Mouse wheel or Ctrl + and Ctrl −: enlarge and reduce the chart; drag: move the enlarged chart</translation>
    </message>
    <message>
        <source>&amp;Vergrößern</source>
        <translation>Zoom &amp;in</translation>
    </message>
    <message>
        <source>Ver&amp;kleinern</source>
        <translation>Zoom &amp;out</translation>
    </message>
    <message>
        <source>&amp;Ganzes Bild</source>
        <translation>&amp;Whole chart</translation>
    </message>
    <message>
        <source>Jahrestabelle speichern</source>
        <translation>Save year table</translation>
    </message>
    <message>
        <source>Monatsseite speichern</source>
        <translation>Save month page</translation>
    </message>
    <message>
        <source>Tabellen (*.pdf *.csv *.txt);;PDF (*.pdf);;CSV (*.csv);;Text (*.txt)</source>
        <translation>Tables (*.pdf *.csv *.txt);;PDF (*.pdf);;CSV (*.csv);;Text (*.txt)</translation>
    </message>
    <message>
        <source>&amp;Jahrestabelle …</source>
        <translation>&amp;Year table …</translation>
    </message>
    <message>
        <source>Mon&amp;atsseite …</source>
        <translation>Month pa&amp;ge …</translation>
    </message>
</context>
</TS>
