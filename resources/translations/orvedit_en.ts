<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="de_DE">
<context>
    <name>TMainForm</name>
    <message>
        <source>Kelvra ORV-Editor</source>
        <translation>Kelvra ORV-Editor</translation>
    </message>
    <message>
        <source>Neues ORV-Projekt</source>
        <translation>New ORV project</translation>
    </message>
    <message>
        <source>ORV-Projekt öffnen</source>
        <translation>Open ORV project</translation>
    </message>
    <message>
        <source>ORV-Projekt speichern</source>
        <translation>Save ORV project</translation>
    </message>
    <message>
        <source>ORV-Projekt Speichern unter...</source>
        <translation>Save ORV project as...</translation>
    </message>
    <message>
        <source>ORV-Projekt schliessen (ohne zu speichern)</source>
        <translation>Close ORV project (without saving)</translation>
    </message>
    <message>
        <source>Binärdatei (*.LFS) erzeugen</source>
        <translation>Create binary file (*.LFS)</translation>
    </message>
    <message>
        <source>Serielle Übertragung zur ZSK</source>
        <translation>Serial transfer to the ZSK</translation>
    </message>
    <message>
        <source>LFS-Datei erzeugen</source>
        <translation>Create LFS file</translation>
    </message>
    <message>
        <source>LFS-Datei zur ZSK übertragen</source>
        <translation>Transfer LFS file to the ZSK</translation>
    </message>
    <message>
        <source>Info über Orv-Editor</source>
        <translation>About Orv-Editor</translation>
    </message>
    <message>
        <source>Einstellungen ...</source>
        <translation>Settings ...</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>ORV-Output</source>
        <translation>ORV-Output</translation>
    </message>
    <message>
        <source>?</source>
        <translation>?</translation>
    </message>
    <message>
        <source>Etagenanzeige:</source>
        <translation>Floor indicator:</translation>
    </message>
    <message>
        <source>ORV-VFD  (128 x 64 )</source>
        <translation>ORV-VFD  (128 x 64 )</translation>
    </message>
    <message>
        <source>ORV-LCD  (240 x 128)</source>
        <translation>ORV-LCD  (240 x 128)</translation>
    </message>
    <message>
        <source>ORV-VFD  (256 x 128 )</source>
        <translation>ORV-VFD  (256 x 128 )</translation>
    </message>
    <message>
        <source>Grundeinstellungen</source>
        <translation>Basic settings</translation>
    </message>
    <message>
        <source>Sonderzeichen</source>
        <translation>Special characters</translation>
    </message>
    <message>
        <source>Kleiner Zeichensatz</source>
        <translation>Small character set</translation>
    </message>
    <message>
        <source>Optionen</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Erweiterte Einstellungen</source>
        <translation>Advanced settings</translation>
    </message>
    <message>
        <source>Simulation</source>
        <translation>Simulation</translation>
    </message>
    <message>
        <source>Es sind grosse Windows-Fonts eingestellt.
Das Programm arbeitet nur bei kleinen Fonts optimal</source>
        <translation>Large fonts are set for the screen.
The program works best with small fonts</translation>
    </message>
    <message>
        <source> kann nicht angelegt werden</source>
        <translation> cannot be created</translation>
    </message>
    <message>
        <source> nicht vorhanden</source>
        <translation> not found</translation>
    </message>
    <message>
        <source> kann nicht geöffnet werden</source>
        <translation> cannot be opened</translation>
    </message>
    <message>
        <source>Das Projekt wurde geändert. Sollen die Änderungen gespeichert werden?</source>
        <translation>The project has been changed. Do you want to save the changes?</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Verwerfen</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Etagenanzeige-Editor (*.orv)</source>
        <translation>Floor indicator editor (*.orv)</translation>
    </message>
</context>
<context>
    <name>TNewProject</name>
    <message>
        <source>Neues ORV-Projekt</source>
        <translation>New ORV project</translation>
    </message>
    <message>
        <source>Hardware-Auswahl gewählte ORV:</source>
        <translation>Hardware selection, chosen ORV:</translation>
    </message>
    <message>
        <source>ORV-VFD  ( 128  x 64   )</source>
        <translation>ORV-VFD  ( 128  x 64   )</translation>
    </message>
    <message>
        <source>ORV-LCD  ( 240  x 128 )</source>
        <translation>ORV-LCD  ( 240  x 128 )</translation>
    </message>
    <message>
        <source>ORV-VFD  ( 256  x 128 )</source>
        <translation>ORV-VFD  ( 256  x 128 )</translation>
    </message>
    <message>
        <source>Vertikale Ausrichtung</source>
        <translation>Vertical orientation</translation>
    </message>
    <message>
        <source>Wieviele Etagen hat der Lift insgesamt:</source>
        <translation>How many floors does the lift have in total:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbruch</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TSplashForm</name>
    <message>
        <source>Version 1.8.2</source>
        <translation>Version 1.8.2</translation>
    </message>
</context>
<context>
    <name>TfrmAbout</name>
    <message>
        <source>Info...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>Kelvra  ORV-Editor</source>
        <translation>Kelvra  ORV-Editor</translation>
    </message>
    <message>
        <source>Version  1.8.2</source>
        <translation>Version  1.8.2</translation>
    </message>
    <message>
        <source>vom 7 Dez 2007 / 10:50:53</source>
        <translation>of 7 Dec 2007 / 10:50:53</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TDisplay</name>
    <message>
        <source>Etagentext (1)</source>
        <translation>Floor text (1)</translation>
    </message>
    <message>
        <source>Etagentext (2)</source>
        <translation>Floor text (2)</translation>
    </message>
    <message>
        <source>Etagentext (Einstellig)</source>
        <translation>Floor text (single)</translation>
    </message>
    <message>
        <source>Pfeil-Bitmap</source>
        <translation>Arrow bitmap</translation>
    </message>
    <message>
        <source>Etagen-Bitmap</source>
        <translation>Floor bitmap</translation>
    </message>
    <message>
        <source>Datum/Uhrzeit</source>
        <translation>Date/time</translation>
    </message>
    <message>
        <source>Sonderzeichen</source>
        <translation>Special character</translation>
    </message>
    <message>
        <source>EtagenText (1)</source>
        <translation>Floor text (1)</translation>
    </message>
    <message>
        <source>EtagenText (2)</source>
        <translation>Floor text (2)</translation>
    </message>
</context>
<context>
    <name>TUserFont</name>
    <message>
        <source> nicht vorhanden</source>
        <translation> not found</translation>
    </message>
</context>
</TS>
