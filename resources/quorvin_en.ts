<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AFTable</name>
    <message>
        <source>%1 MHz</source>
        <translation>%1 MHz</translation>
    </message>
    <message>
        <source>%1 kHz</source>
        <translation>%1 kHz</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>ja</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>nein</source>
        <translation>no</translation>
    </message>
</context>
<context>
    <name>AFTableAuto</name>
    <message>
        <source>ja</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>nein</source>
        <translation>no</translation>
    </message>
    <message>
        <source>Kanal</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>Regional</source>
        <translation>Regional</translation>
    </message>
    <message>
        <source>Frequenz</source>
        <translation>Frequency</translation>
    </message>
</context>
<context>
    <name>AFTableSend</name>
    <message>
        <source>%1 kHz</source>
        <translation>%1 kHz</translation>
    </message>
    <message>
        <source>? %1</source>
        <translation>? %1</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>keine AF</source>
        <translation>no AF</translation>
    </message>
    <message>
        <source>1 AF</source>
        <translation>1 AF</translation>
    </message>
    <message>
        <source>%1 AFs</source>
        <translation>%1 AFs</translation>
    </message>
    <message>
        <source>F1 &gt; F2 regional</source>
        <translation>F1 &gt; F2 regional</translation>
    </message>
</context>
<context>
    <name>AboutUI</name>
    <message>
        <source>Quorvin Generator</source>
        <translation>Quorvin Generator</translation>
    </message>
    <message>
        <source>&lt;p style=&quot;margin:0&quot;&gt;Ostvalde Funktechnik GmbH&lt;/p&gt;&lt;p style=&quot;margin:0&quot;&gt;Am Sendemast 7&lt;br/&gt;00000 Beispielstadt&lt;/p&gt;&lt;p style=&quot;margin:0&quot;&gt;Tel: +49 (0) 0000 000000-0&lt;/p&gt;&lt;p style=&quot;margin:0&quot;&gt;Web: &lt;a href=&quot;https://quorvin.example/&quot;&gt;Projektseite&lt;/a&gt;&lt;/p&gt;</source>
        <translation>&lt;p style=&quot;margin:0&quot;&gt;Ostvalde Funktechnik GmbH&lt;/p&gt;&lt;p style=&quot;margin:0&quot;&gt;Am Sendemast 7&lt;br/&gt;00000 Beispielstadt&lt;/p&gt;&lt;p style=&quot;margin:0&quot;&gt;Phone: +49 (0) 0000 000000-0&lt;/p&gt;&lt;p style=&quot;margin:0&quot;&gt;Web: &lt;a href=&quot;https://quorvin.example/&quot;&gt;Project page&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
</context>
<context>
    <name>BoardConfigUI</name>
    <message>
        <source>Modulator konfigurieren</source>
        <translation>Modulator config</translation>
    </message>
    <message>
        <source>Host, Port und PLLs im Modulator speichern</source>
        <translation>save Host, Port and PLLs to Modulator</translation>
    </message>
    <message>
        <source>&amp;Konfigurieren über:</source>
        <translation>&amp;Config via:</translation>
    </message>
    <message>
        <source>PLL-Offset für 87-98 MHz</source>
        <translation>PLL-offset for 87-98 MHz</translation>
    </message>
    <message>
        <source>PLL-Offset&amp;1:</source>
        <translation>PLL-Offset&amp;1:</translation>
    </message>
    <message>
        <source>PLL-Offset für 98-110 MHz</source>
        <translation>PLL-offset for 98-110 MHz</translation>
    </message>
    <message>
        <source>PLL-Offset&amp;2:</source>
        <translation>PLL-Offset&amp;2:</translation>
    </message>
    <message>
        <source>IP-Adresse:</source>
        <translation>IP-Address:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>&amp;Speichern</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ConfigFM</name>
    <message>
        <source>Kanal Editor</source>
        <translation>Channel Editor</translation>
    </message>
    <message>
        <source>Kanal-Einstellung</source>
        <translation>Channel settings</translation>
    </message>
    <message>
        <source>Preemphasis:</source>
        <translation>Preemphasis:</translation>
    </message>
    <message>
        <source>keine</source>
        <translation>none</translation>
    </message>
    <message>
        <source>50 µs</source>
        <translation>50 µs</translation>
    </message>
    <message>
        <source>75 µs</source>
        <translation>75 µs</translation>
    </message>
    <message>
        <source>Frequenzhub:</source>
        <translation>Deviation:</translation>
    </message>
    <message>
        <source>50 kHz</source>
        <translation>50 kHz</translation>
    </message>
    <message>
        <source>75 kHz</source>
        <translation>75 kHz</translation>
    </message>
    <message>
        <source> kHz</source>
        <translation> kHz</translation>
    </message>
    <message>
        <source>Samplerate:</source>
        <translation>Sample rate:</translation>
    </message>
    <message>
        <source>32 kHz</source>
        <translation>32 kHz</translation>
    </message>
    <message>
        <source>44.1 kHz</source>
        <translation>44.1 kHz</translation>
    </message>
    <message>
        <source>48 kHz</source>
        <translation>48 kHz</translation>
    </message>
    <message>
        <source>Kanalmodus:</source>
        <translation>Channel mode:</translation>
    </message>
    <message>
        <source>&amp;Mono</source>
        <translation>&amp;Mono</translation>
    </message>
    <message>
        <source>&amp;Stereo</source>
        <translation>&amp;Stereo</translation>
    </message>
    <message>
        <source>Samplerate automatisch ändern (Anpassen an Song)</source>
        <translation>Change the sample rate automatically (follow the song)</translation>
    </message>
    <message>
        <source>kHz &amp;Auto</source>
        <translation>kHz &amp;Auto</translation>
    </message>
    <message>
        <source>Einstellung kopieren auf folgende Kanäle:</source>
        <translation>Copy the settings to these channels:</translation>
    </message>
    <message>
        <source>alle / von:</source>
        <translation>all / from:</translation>
    </message>
    <message>
        <source>bis:</source>
        <translation>to:</translation>
    </message>
    <message>
        <source>Mit kHz Auto folgt die Samplerate dem Song; die gewählte Rate gilt nur ohne Auto.</source>
        <translation>With kHz Auto the sample rate follows the song; the chosen rate applies only without Auto.</translation>
    </message>
</context>
<context>
    <name>ConnectUI</name>
    <message>
        <source>Verbinden</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Doppelklick auf eine #Box zum auswählen</source>
        <translation>Double-click a #Box to select it</translation>
    </message>
    <message>
        <source>mehrere Modulatoren gleichzeitig nutzen</source>
        <translation>use several modulators at once</translation>
    </message>
    <message>
        <source>Modulatoren:</source>
        <translation>Modulators:</translation>
    </message>
    <message>
        <source>Anzahl der Modulatoren</source>
        <translation>Number of modulators</translation>
    </message>
    <message>
        <source>Modulator manuell hinzufügen an IP : Port</source>
        <translation>Add a modulator by hand at IP : Port</translation>
    </message>
    <message>
        <source>gewählte Modulatoren verbinden</source>
        <translation>connect the chosen modulators</translation>
    </message>
    <message>
        <source>&amp;Verbinden</source>
        <translation>&amp;Connect</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>DynEdit</name>
    <message>
        <source>Event einfügen</source>
        <translation>Insert event</translation>
    </message>
    <message>
        <source>Events löschen</source>
        <translation>Delete events</translation>
    </message>
</context>
<context>
    <name>DynModel</name>
    <message>
        <source>Zeit [ms]</source>
        <translation>Time [ms]</translation>
    </message>
    <message>
        <source>Kommando</source>
        <translation>Command</translation>
    </message>
</context>
<context>
    <name>Dynamic</name>
    <message>
        <source>Events löschen</source>
        <translation>Delete events</translation>
    </message>
    <message>
        <source>Selektierte Events löschen?</source>
        <translation>Delete selected events?</translation>
    </message>
    <message>
        <source>Sollen die %1 ausgewählten Events gelöscht werden?</source>
        <translation>Delete the %1 selected events?</translation>
    </message>
    <message>
        <source>Alle Events löschen?</source>
        <translation>Delete all events?</translation>
    </message>
    <message>
        <source>Sollen alle Events gelöscht werden? </source>
        <translation>Delete all events? </translation>
    </message>
</context>
<context>
    <name>ECCModel</name>
    <message>
        <source>erste Stelle des PI-Codes</source>
        <translation>first digit of the PI code</translation>
    </message>
</context>
<context>
    <name>ECCUI</name>
    <message>
        <source>Ländercode suchen</source>
        <translation>Find country code</translation>
    </message>
    <message>
        <source>Europa</source>
        <translation>Europe</translation>
    </message>
    <message>
        <source>Vorderasien</source>
        <translation>Near East</translation>
    </message>
    <message>
        <source>Afrika</source>
        <translation>Africa</translation>
    </message>
    <message>
        <source>Asien</source>
        <translation>Asia</translation>
    </message>
    <message>
        <source>Australien</source>
        <translation>Australia</translation>
    </message>
    <message>
        <source>Amerika</source>
        <translation>America</translation>
    </message>
    <message>
        <source>Inseln</source>
        <translation>Islands</translation>
    </message>
    <message>
        <source>Textfragment suchen</source>
        <translation>Search for a text fragment</translation>
    </message>
    <message>
        <source>suche Land</source>
        <translation>find country</translation>
    </message>
    <message>
        <source>&amp;Suchen</source>
        <translation>&amp;Search</translation>
    </message>
    <message>
        <source>Doppelklick um CI und ECC zu übernehmen</source>
        <translation>Double-click to take CI and ECC over</translation>
    </message>
</context>
<context>
    <name>EONEdit</name>
    <message>
        <source>kein</source>
        <translation>none</translation>
    </message>
</context>
<context>
    <name>EONModel</name>
    <message>
        <source>kein</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Frequenzen zwischen 87.6 - 107.9 MHz oder 153 - 1610 kHz</source>
        <translation>Frequencies between 87.6 - 107.9 MHz or 153 - 1610 kHz</translation>
    </message>
    <message>
        <source>manuelle Einträge werden gesendet</source>
        <translation>manual entries are sent</translation>
    </message>
    <message>
        <source>RDS-Daten von Kanal %1 werden gesendet</source>
        <translation>RDS data of channel %1 are sent</translation>
    </message>
    <message>
        <source>Kanal</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>PS Name</source>
        <translation>PS name</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>AF Liste</source>
        <translation>AF list</translation>
    </message>
</context>
<context>
    <name>EventLogUI</name>
    <message>
        <source>Quorvin Event Log</source>
        <translation>Quorvin Event Log</translation>
    </message>
</context>
<context>
    <name>EventPlayer</name>
    <message>
        <source>Abspielen</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Rücksetzen
Projekt neu laden</source>
        <translation>Revert
reload project</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>Dynamic</source>
        <translation>Dynamic</translation>
    </message>
    <message>
        <source>Aufzeichnen ohne abspielen
alle Events mit identischem Zeitstempel</source>
        <translation>Record without playing
all events with the same time stamp</translation>
    </message>
    <message>
        <source>Abspielen und neue Events aufzeichnen</source>
        <translation>Play and record new events</translation>
    </message>
    <message>
        <source>Zeit in ms</source>
        <translation>Time in ms</translation>
    </message>
    <message>
        <source>Zyklisch abspielen</source>
        <translation>Play in a loop</translation>
    </message>
    <message>
        <source>alle Events löschen</source>
        <translation>delete all events</translation>
    </message>
    <message>
        <source>Kommando Liste anzeigen</source>
        <translation>Show command list</translation>
    </message>
</context>
<context>
    <name>FMAudio</name>
    <message>
        <source>Audio Dateien hinzufügen</source>
        <translation>Add audio files</translation>
    </message>
    <message>
        <source>Audio Dateien (*.ogg *.mp3 *.wav *.flac);;Alle Dateien (*)</source>
        <translation>Audio files (*.ogg *.mp3 *.wav *.flac);;All files (*)</translation>
    </message>
    <message>
        <source>Name der %1. Playliste</source>
        <translation>Name of playlist %1</translation>
    </message>
    <message>
        <source>Name der %1. Audio Quelle</source>
        <translation>Name of audio source %1</translation>
    </message>
    <message>
        <source>dieser Song kann nicht dekodiert werden!</source>
        <translation>this song cannot be decoded!</translation>
    </message>
</context>
<context>
    <name>FMAudioUI</name>
    <message>
        <source>Audio Quellen</source>
        <translation>Audio sources</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Typ</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>Quelle</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Entfernen</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Playlisten</source>
        <translation>Playlists</translation>
    </message>
    <message>
        <source>ziehe auf Quelle (Datei)</source>
        <translation>drag onto a source (file)</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Liste</source>
        <translation>List</translation>
    </message>
    <message>
        <source>per Drag &amp; Drop zur Playliste oder Quelle hinzufügen</source>
        <translation>add to a playlist or source by drag &amp; drop</translation>
    </message>
    <message>
        <source>Dateien (ziehe auf Playliste oder Quelle)</source>
        <translation>Files (drag onto a playlist or source)</translation>
    </message>
    <message>
        <source>Dateien</source>
        <translation>Files</translation>
    </message>
</context>
<context>
    <name>FMBandUI</name>
    <message>
        <source>FM Band auswählen</source>
        <translation>Choose FM Band</translation>
    </message>
    <message>
        <source>Europa
87.5 bis 108.0 MHz</source>
        <translation>Europe
87.5 to 108.0 MHz</translation>
    </message>
    <message>
        <source>Japan
76.0 bis 95.0 MHz</source>
        <translation>Japan
76.0 to 95.0 MHz</translation>
    </message>
    <message>
        <source>Brasilien
76.0 bis 108.0 MHz</source>
        <translation>Brazil
76.0 to 108.0 MHz</translation>
    </message>
    <message>
        <source>ab Modulator Firmware v22</source>
        <translation>since Modulator Firmware v22</translation>
    </message>
    <message>
        <source>internes Dämpfungsglied:</source>
        <translation>internal Attenuation:</translation>
    </message>
</context>
<context>
    <name>FMCalib</name>
    <message>
        <source>Modulator konfigurieren</source>
        <translation>Configure modulator</translation>
    </message>
    <message>
        <source>Port Fehler</source>
        <translation>Port error</translation>
    </message>
    <message>
        <source> kann nicht geöffnet werden.
Bitte überprüfen Sie, ob ein anderes Programm darauf zugreift.</source>
        <translation> could not be opened.
Please check if its being used by another program.</translation>
    </message>
    <message>
        <source>Modulator v%1 an %2</source>
        <translation>Modulator v%1 on %2</translation>
    </message>
    <message>
        <source>IP-Adresse ungültig</source>
        <translation>Invalid IP address</translation>
    </message>
    <message>
        <source>&quot;%1&quot; ist keine IP-Adresse: vier Zahlen von 0 bis 255, durch Punkte getrennt.
Es wurde nichts gesendet.</source>
        <translation>&quot;%1&quot; is no IP address: four numbers from 0 to 255 separated by dots.
Nothing was sent.</translation>
    </message>
    <message>
        <source>Keine Antwort</source>
        <translation>No reply</translation>
    </message>
    <message>
        <source>Der Modulator an %1 antwortet nicht.
Die Felder sind wieder freigegeben; sie zeigen, was bis dahin gelesen wurde.</source>
        <translation>The modulator on %1 does not reply.
The fields are enabled again; they show what was read until then.</translation>
    </message>
</context>
<context>
    <name>FMChannel</name>
    <message>
        <source>Signal Frequenz</source>
        <translation>Signal frequency</translation>
    </message>
    <message>
        <source>Signal gain [-60..0] dB</source>
        <translation>Signal gain [-60..0] dB</translation>
    </message>
    <message>
        <source>Audio Lautstärke</source>
        <translation>Audio volume</translation>
    </message>
    <message>
        <source>RDS Quelle</source>
        <translation>RDS source</translation>
    </message>
    <message>
        <source>Audio Quelle</source>
        <translation>Audio source</translation>
    </message>
    <message>
        <source>Quellen</source>
        <translation>Sources</translation>
    </message>
    <message>
        <source>Zeige RDS Quelle</source>
        <translation>Show RDS source</translation>
    </message>
    <message>
        <source>Zeige TMC Quelle</source>
        <translation>Show TMC source</translation>
    </message>
    <message>
        <source>RDS aus Datei senden</source>
        <translation>Send RDS from file</translation>
    </message>
    <message>
        <source>Zeige Audio Quelle</source>
        <translation>Show audio source</translation>
    </message>
    <message>
        <source>&lt;kein Audio&gt;</source>
        <translation>&lt;no audio&gt;</translation>
    </message>
    <message>
        <source>Audio Quelle: </source>
        <translation>Audio source: </translation>
    </message>
    <message>
        <source>Sinus</source>
        <translation>Sine</translation>
    </message>
    <message>
        <source>Rampe</source>
        <translation>Ramp</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Fernzugriff</source>
        <translation>Remote access</translation>
    </message>
    <message>
        <source>Fernzugriff von: </source>
        <translation>Remote access from: </translation>
    </message>
    <message>
        <source>&lt;kein RDS&gt;</source>
        <translation>&lt;no RDS&gt;</translation>
    </message>
    <message>
        <source>RDS Quelle Nr. %1 [%2]</source>
        <translation>RDS source no. %1 [%2]</translation>
    </message>
    <message>
        <source>TMC Quelle: %1</source>
        <translation>TMC source: %1</translation>
    </message>
    <message>
        <source>Bitfehlerrate: %1%</source>
        <translation>Bit error rate: %1%</translation>
    </message>
    <message>
        <source>aus Datei: </source>
        <translation>from file: </translation>
    </message>
    <message>
        <source>%1 MHz liegt außerhalb des Bands (%2 bis %3 MHz): der Kanal lässt sich nicht einschalten.</source>
        <translation>%1 MHz lies outside the band (%2 to %3 MHz): the channel cannot be switched on.</translation>
    </message>
</context>
<context>
    <name>FMConfig</name>
    <message>
        <source>Kanal %1 Editor</source>
        <translation>Channel %1 Editor</translation>
    </message>
    <message>
        <source>Der Bereich endet vor seinem Anfang (%1 bis %2): bitte das Ende auf %1 oder höher setzen.</source>
        <translation>The range ends before it starts (%1 to %2): please set the end to %1 or higher.</translation>
    </message>
</context>
<context>
    <name>FMConnect</name>
    <message>
        <source>Ist schon ausgewählt!</source>
        <translation>Already selected!</translation>
    </message>
</context>
<context>
    <name>FMConnectModel</name>
    <message>
        <source>links oben</source>
        <translation>top left</translation>
    </message>
    <message>
        <source>rechts oben</source>
        <translation>top right</translation>
    </message>
    <message>
        <source>links unten</source>
        <translation>bottom left</translation>
    </message>
    <message>
        <source>rechts unten</source>
        <translation>bottom right</translation>
    </message>
    <message>
        <source>Doppelte IP-Adresse! Bitte die Modulatoren
auf unterschiedliche Adressen konfigurieren!</source>
        <translation>Duplicate IP address! Please configure the modulators
to different addresses!</translation>
    </message>
    <message>
        <source>%1 ausgewählt für </source>
        <translation>%1 selected for </translation>
    </message>
    <message>
        <source>IP-Adresse</source>
        <translation>IP Address</translation>
    </message>
</context>
<context>
    <name>FMInfo</name>
    <message>
        <source>Frequenzhub ist %1 kHz</source>
        <translation>Deviation is set to %1 kHz</translation>
    </message>
    <message>
        <source>Preemphasis ist 50µs</source>
        <translation>Preemphasis is set to 50µs</translation>
    </message>
    <message>
        <source>Preemphasis ist 75µs</source>
        <translation>Preemphasis is set to 75µs</translation>
    </message>
    <message>
        <source>keine Preemphasis</source>
        <translation>no preemphasis</translation>
    </message>
    <message>
        <source>Samplerate ist %1 kHz</source>
        <translation>Samplerate is set to %1 kHz</translation>
    </message>
    <message>
        <source> statt %1 kHz</source>
        <translation> instead of %1 kHz</translation>
    </message>
</context>
<context>
    <name>FMManager</name>
    <message>
        <source>Quorvin Generator</source>
        <translation>Quorvin Generator</translation>
    </message>
    <message>
        <source>&amp;Projekt</source>
        <translation>&amp;Project</translation>
    </message>
    <message>
        <source>Öffne letzte</source>
        <translation>Open recent</translation>
    </message>
    <message>
        <source>&amp;Modulator</source>
        <translation>&amp;Modulator</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>Events</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Beispiel laden</source>
        <translation>Load example</translation>
    </message>
    <message>
        <source>Seiten</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>Neu...</source>
        <translation>New...</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>&amp;Laden...</source>
        <translation>&amp;Load...</translation>
    </message>
    <message>
        <source>Ctrl+L</source>
        <translation>Ctrl+L</translation>
    </message>
    <message>
        <source>&amp;Speichern unter...</source>
        <translation>&amp;Save as...</translation>
    </message>
    <message>
        <source>Änderungen speichern unter...</source>
        <translation>Save changes as...</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Rücksetzen</source>
        <translation>Revert</translation>
    </message>
    <message>
        <source>Änderungen verwerfen, Original neu laden</source>
        <translation>Discard changes, reload the original</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>&amp;Verbinden...</source>
        <translation>&amp;Connect...</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Trennen</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>&amp;Konfigurieren...</source>
        <translation>Con&amp;figure...</translation>
    </message>
    <message>
        <source>FM &amp;Band...</source>
        <translation>FM &amp;Band...</translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation>Ctrl+B</translation>
    </message>
    <message>
        <source>Senden an/aus</source>
        <translation>Transmit on/off</translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <source>Fernsteuerung...</source>
        <translation>Remote control...</translation>
    </message>
    <message>
        <source>Neuigkeiten...</source>
        <translation>What&apos;s new...</translation>
    </message>
    <message>
        <source>Neuigkeiten dieser Version anzeigen</source>
        <translation>Show what is new in this version</translation>
    </message>
    <message>
        <source>Dokumentation...</source>
        <translation>Documentation...</translation>
    </message>
    <message>
        <source>Dokumentation im PDF-Viewer öffnen</source>
        <translation>Open the documentation in the PDF viewer</translation>
    </message>
    <message>
        <source>Ctrl+H</source>
        <translation>Ctrl+H</translation>
    </message>
    <message>
        <source>11-1 zwei Sinustöne auf 100 MHz</source>
        <translation>11-1 two sine tones on 100 MHz</translation>
    </message>
    <message>
        <source>11-2 drei Audio-Dateien</source>
        <translation>11-2 three audio files</translation>
    </message>
    <message>
        <source>11-3 Senderwechsel mit Auto AF</source>
        <translation>11-3 station change with Auto AF</translation>
    </message>
    <message>
        <source>11-4 RadioText mit RadioText+</source>
        <translation>11-4 RadioText with RadioText+</translation>
    </message>
    <message>
        <source>11-5 beliebige Zeichen im RadioText</source>
        <translation>11-5 any characters in RadioText</translation>
    </message>
    <message>
        <source>11-6 zwei TMC-Staunachrichten</source>
        <translation>11-6 two TMC traffic jam messages</translation>
    </message>
    <message>
        <source>&amp;Deutsch</source>
        <translation>&amp;Deutsch</translation>
    </message>
    <message>
        <source>&amp;English</source>
        <translation>&amp;English</translation>
    </message>
    <message>
        <source>Updates...</source>
        <translation>Updates...</translation>
    </message>
    <message>
        <source>Über...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>Letzte Projekte</source>
        <translation>Recent projects</translation>
    </message>
    <message>
        <source>Kanäle</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Event Log</source>
        <translation>Event Log</translation>
    </message>
    <message>
        <source>CTRL+E</source>
        <translation>CTRL+E</translation>
    </message>
    <message>
        <source>Event Player</source>
        <translation>Event Player</translation>
    </message>
    <message>
        <source>CTRL+P</source>
        <translation>CTRL+P</translation>
    </message>
    <message>
        <source>%1. Modulator, Channels %2 - %3</source>
        <translation>%1. Modulator, Channels %2 - %3</translation>
    </message>
    <message>
        <source>Fernsteuerung:</source>
        <translation>Remote control:</translation>
    </message>
    <message>
        <source>Modulator nicht verbunden</source>
        <translation>Modulator not connected</translation>
    </message>
    <message>
        <source>Modulator extern verbunden</source>
        <translation>Modulator connected elsewhere</translation>
    </message>
    <message>
        <source>Fernsteuerung inaktiv</source>
        <translation>Remote control inactive</translation>
    </message>
    <message>
        <source>Ferngesteuert von: </source>
        <translation>Remote controlled by: </translation>
    </message>
    <message>
        <source>keine Fernsteuerung verbunden</source>
        <translation>no remote control connected</translation>
    </message>
    <message>
        <source>Port %1</source>
        <translation>Port %1</translation>
    </message>
    <message>
        <source>Port Fehler</source>
        <translation>Port error</translation>
    </message>
    <message>
        <source>FM-Einstellung (*.fm);;Alle Dateien (*)</source>
        <translation>FM settings (*.fm);;All files (*)</translation>
    </message>
    <message>
        <source>Projekt laden</source>
        <translation>Load project</translation>
    </message>
    <message>
        <source>Datei existiert bereits</source>
        <translation>File already exists</translation>
    </message>
    <message>
        <source>FM-Einstellung laden</source>
        <translation>Load FM settings</translation>
    </message>
    <message>
        <source>Neues Projekt</source>
        <translation>New project</translation>
    </message>
    <message>
        <source>Neues Projekt...</source>
        <translation>New project...</translation>
    </message>
    <message>
        <source>Projekt zurück setzen?</source>
        <translation>Revert project?</translation>
    </message>
    <message>
        <source>Datei existiert nicht!</source>
        <translation>File does not exist!</translation>
    </message>
    <message>
        <source>Original Datei nicht gefunden, diese
wurde evtl. umbenannt oder gelöscht.
Das Projekt kann nicht zurückgesetzt werden.</source>
        <translation>Original file not found, it may
have been renamed or deleted.
The project cannot be reverted.</translation>
    </message>
    <message>
        <source>Speichern unter...</source>
        <translation>Save as...</translation>
    </message>
    <message>
        <source>Nicht gespeichert!</source>
        <translation>Not saved!</translation>
    </message>
    <message>
        <source>Sollen die Änderungen gespeichert oder verworfen werden?</source>
        <translation>Save or discard the changes?</translation>
    </message>
    <message>
        <source>Language change</source>
        <translation>Language change</translation>
    </message>
    <message>
        <source>Close and restart the application
for language change.</source>
        <translation>Close and restart the application
for language change.</translation>
    </message>
    <message>
        <source>Datei nicht gefunden</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>Datei kann nicht geladen werden</source>
        <translation>File cannot be loaded</translation>
    </message>
    <message>
        <source>Dokumentation</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Die Dokumentation %1 konnte nicht geöffnet werden.</source>
        <translation>The manual %1 could not be opened.</translation>
    </message>
    <message>
        <source>Der Ordner existiert nicht.</source>
        <translation>The folder does not exist.</translation>
    </message>
    <message>
        <source>Das Ziel ist ein Ordner.</source>
        <translation>The target is a folder.</translation>
    </message>
    <message>
        <source>Keine Schreibberechtigung.</source>
        <translation>No permission to write.</translation>
    </message>
    <message>
        <source>Die Datei konnte nicht geschrieben werden.</source>
        <translation>The file could not be written.</translation>
    </message>
    <message>
        <source>Die Datei gehört dem Programm selbst.</source>
        <translation>The file belongs to the program itself.</translation>
    </message>
    <message>
        <source>Das Projekt konnte nicht gespeichert werden:
%1
%2</source>
        <translation>The project could not be saved:
%1
%2</translation>
    </message>
    <message>
        <source>Nicht verbunden: %1 ist schon die IP-Adresse des %2. Modulators</source>
        <translation>Not connected: %1 is already the IP address of modulator %2</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>Updates</translation>
    </message>
    <message>
        <source>Kein Browser konnte die Produktseite öffnen:
%1</source>
        <translation>No browser could open the product page:
%1</translation>
    </message>
    <message>
        <source>Das ist ein Ordner, keine Datei</source>
        <translation>This is a folder, not a file</translation>
    </message>
    <message>
        <source>Keine gewöhnliche Datei (FIFO oder Gerät)</source>
        <translation>Not a regular file (FIFO or device)</translation>
    </message>
    <message>
        <source>Keine FM-Einstellung (Projektdatei)</source>
        <translation>Not an FM setting (project file)</translation>
    </message>
    <message>
        <source>Änderungen konnten nicht gespeichert werden (Datenträger voll?): %1</source>
        <translation>Changes could not be saved (disk full?): %1</translation>
    </message>
</context>
<context>
    <name>FMSettings</name>
    <message>
        <source>&lt;kein&gt;</source>
        <translation>&lt;none&gt;</translation>
    </message>
    <message>
        <source>Sinus</source>
        <translation>Sine</translation>
    </message>
    <message>
        <source>Rampe</source>
        <translation>Ramp</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>no error occurred</source>
        <translation>no error occurred</translation>
    </message>
    <message>
        <source>key is unknown</source>
        <translation>key is unknown</translation>
    </message>
    <message>
        <source>data out of range [%1..%2]</source>
        <translation>data out of range [%1..%2]</translation>
    </message>
    <message>
        <source>data did not change</source>
        <translation>data did not change</translation>
    </message>
    <message>
        <source>expecting %1 values</source>
        <translation>expecting %1 values</translation>
    </message>
    <message>
        <source>is not a list or list item</source>
        <translation>is not a list or list item</translation>
    </message>
    <message>
        <source>is not set</source>
        <translation>is not set</translation>
    </message>
    <message>
        <source>use ADD to insert list items</source>
        <translation>use ADD to insert list items</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>unknown error</translation>
    </message>
    <message>
        <source>channel transmission frequency</source>
        <translation>channel transmission frequency</translation>
    </message>
    <message>
        <source>toggle channel (on/off)</source>
        <translation>toggle channel (on/off)</translation>
    </message>
    <message>
        <source>mute audio</source>
        <translation>mute audio</translation>
    </message>
    <message>
        <source>channel is 1=mono or 0=stereo</source>
        <translation>channel is 1=mono or 0=stereo</translation>
    </message>
    <message>
        <source>channel gain 0 (full power) to -60 (noise-floor)</source>
        <translation>channel gain 0 (full power) to -60 (noise-floor)</translation>
    </message>
    <message>
        <source>channel audio pcm volume (linear)</source>
        <translation>channel audio pcm volume (linear)</translation>
    </message>
    <message>
        <source>channel deviation</source>
        <translation>channel deviation</translation>
    </message>
    <message>
        <source>channel preemphasis 0=none 1=50us 2=75us</source>
        <translation>channel preemphasis 0=none 1=50us 2=75us</translation>
    </message>
    <message>
        <source>channel sample rate (32000, 44100, 48000)</source>
        <translation>channel sample rate (32000, 44100, 48000)</translation>
    </message>
    <message>
        <source>auto sample rate change on song change</source>
        <translation>auto sample rate change on song change</translation>
    </message>
    <message>
        <source>channel gain offset (deprecated)</source>
        <translation>channel gain offset (deprecated)</translation>
    </message>
    <message>
        <source>channel gain unit (deprecated)</source>
        <translation>channel gain unit (deprecated)</translation>
    </message>
    <message>
        <source>channel rds source id</source>
        <translation>channel rds source id</translation>
    </message>
    <message>
        <source>channel audio source id</source>
        <translation>channel audio source id</translation>
    </message>
    <message>
        <source>audio type 0=sinus 1=ramp 2=file</source>
        <translation>audio type 0=sinus 1=ramp 2=file</translation>
    </message>
    <message>
        <source>audio source enabled/disabled</source>
        <translation>audio source enabled/disabled</translation>
    </message>
    <message>
        <source>first frequency for sinus/ramp</source>
        <translation>first frequency for sinus/ramp</translation>
    </message>
    <message>
        <source>second frequency for sinus/ramp</source>
        <translation>second frequency for sinus/ramp</translation>
    </message>
    <message>
        <source>first volume for sinus/ramp</source>
        <translation>first volume for sinus/ramp</translation>
    </message>
    <message>
        <source>second volume for sinus/ramp</source>
        <translation>second volume for sinus/ramp</translation>
    </message>
    <message>
        <source>ramp duration</source>
        <translation>ramp duration</translation>
    </message>
    <message>
        <source>audio file/playlist name</source>
        <translation>audio file/playlist name</translation>
    </message>
    <message>
        <source>audio source name</source>
        <translation>audio source name</translation>
    </message>
    <message>
        <source>playlist name</source>
        <translation>playlist name</translation>
    </message>
    <message>
        <source>playlist file</source>
        <translation>playlist file</translation>
    </message>
    <message>
        <source>rds source enabled/disabled</source>
        <translation>rds source enabled/disabled</translation>
    </message>
    <message>
        <source>rds source name</source>
        <translation>rds source name</translation>
    </message>
    <message>
        <source>rds long program service name</source>
        <translation>rds long program service name</translation>
    </message>
    <message>
        <source>rds program service name</source>
        <translation>rds program service name</translation>
    </message>
    <message>
        <source>rds program identifier</source>
        <translation>rds program identifier</translation>
    </message>
    <message>
        <source>rds traffic program bit</source>
        <translation>rds traffic program bit</translation>
    </message>
    <message>
        <source>rds traffic announce bit</source>
        <translation>rds traffic announce bit</translation>
    </message>
    <message>
        <source>rds music speech bit</source>
        <translation>rds music speech bit</translation>
    </message>
    <message>
        <source>rds program type</source>
        <translation>rds program type</translation>
    </message>
    <message>
        <source>rds decoder bits &amp;1:stereo &amp;2:artificial &amp;4:compressed &amp;8:dynPTY</source>
        <translation>rds decoder bits &amp;1:stereo &amp;2:artificial &amp;4:compressed &amp;8:dynPTY</translation>
    </message>
    <message>
        <source>rds radio text tag</source>
        <translation>rds radio text tag</translation>
    </message>
    <message>
        <source>rds radio text A (group 2)</source>
        <translation>rds radio text A (group 2)</translation>
    </message>
    <message>
        <source>rds radio text B (group 2)</source>
        <translation>rds radio text B (group 2)</translation>
    </message>
    <message>
        <source>rds enhanced radio text C</source>
        <translation>rds enhanced radio text C</translation>
    </message>
    <message>
        <source>rds enhanced radio text D</source>
        <translation>rds enhanced radio text D</translation>
    </message>
    <message>
        <source>rds program type name 1</source>
        <translation>rds program type name 1</translation>
    </message>
    <message>
        <source>rds program type name 2</source>
        <translation>rds program type name 2</translation>
    </message>
    <message>
        <source>rds tmc source id</source>
        <translation>rds tmc source id</translation>
    </message>
    <message>
        <source>rds tmc force gap</source>
        <translation>rds tmc force gap</translation>
    </message>
    <message>
        <source>rds radio text plus ODA group</source>
        <translation>rds radio text plus ODA group</translation>
    </message>
    <message>
        <source>rds radio text plus items bits</source>
        <translation>rds radio text plus items bits</translation>
    </message>
    <message>
        <source>rds radio text plus message bits</source>
        <translation>rds radio text plus message bits</translation>
    </message>
    <message>
        <source>rds &amp;1=prepend BOM for LongPS</source>
        <translation>rds &amp;1=prepend BOM for LongPS</translation>
    </message>
    <message>
        <source>rds &amp;1=send radio text, &amp;2=send enhanced radio text, &amp;8=add RT BOM, &amp;4=add eRT BOM (if supported by encoding), &amp;16 toggle AB-Bit; send group 3A for &amp;64=eRT, &amp;128=RT+</source>
        <translation>rds &amp;1=send radio text, &amp;2=send enhanced radio text, &amp;8=add RT BOM, &amp;4=add eRT BOM (if supported by encoding), &amp;16 toggle AB-Bit; send group 3A for &amp;64=eRT, &amp;128=RT+</translation>
    </message>
    <message>
        <source>rds radio text sending in group 0=2A only, 1=2B only, 2=2A+2B simultaneously</source>
        <translation>rds radio text sending in group 0=2A only, 1=2B only, 2=2A+2B simultaneously</translation>
    </message>
    <message>
        <source>rds enhanced radio text group</source>
        <translation>rds enhanced radio text group</translation>
    </message>
    <message>
        <source>rds enhanced radio text message bits</source>
        <translation>rds enhanced radio text message bits</translation>
    </message>
    <message>
        <source>rds enhanced radio text AID (group 3)</source>
        <translation>rds enhanced radio text AID (group 3)</translation>
    </message>
    <message>
        <source>rds radio text plus AID (group 3)</source>
        <translation>rds radio text plus AID (group 3)</translation>
    </message>
    <message>
        <source>rds PS scroll mode &amp;8=scroll &gt;&gt;4+1=repeat &amp;7=rate</source>
        <translation>rds PS scroll mode &amp;8=scroll &gt;&gt;4+1=repeat &amp;7=rate</translation>
    </message>
    <message>
        <source>rds AF bits: &amp;1=use &amp;2=auto &amp;4=manual &amp;8=A/B</source>
        <translation>rds AF bits: &amp;1=use &amp;2=auto &amp;4=manual &amp;8=A/B</translation>
    </message>
    <message>
        <source>rds automatic AF list (* 0.1 = MHz/kHz)</source>
        <translation>rds automatic AF list (* 0.1 = MHz/kHz)</translation>
    </message>
    <message>
        <source>rds manual AF list (* 0.1 = MHz/kHz)</source>
        <translation>rds manual AF list (* 0.1 = MHz/kHz)</translation>
    </message>
    <message>
        <source>rds regional AF list (for method B)</source>
        <translation>rds regional AF list (for method B)</translation>
    </message>
    <message>
        <source>rds radio text A repeat</source>
        <translation>rds radio text A repeat</translation>
    </message>
    <message>
        <source>rds radio text B repeat</source>
        <translation>rds radio text B repeat</translation>
    </message>
    <message>
        <source>rds radio text C repeat</source>
        <translation>rds radio text C repeat</translation>
    </message>
    <message>
        <source>rds radio text D repeat</source>
        <translation>rds radio text D repeat</translation>
    </message>
    <message>
        <source>rds encoding for enhanced radio text</source>
        <translation>rds encoding for enhanced radio text</translation>
    </message>
    <message>
        <source>rds encoding for standard radio text (E.1)</source>
        <translation>rds encoding for standard radio text (E.1)</translation>
    </message>
    <message>
        <source>rds encoding for LongPS (UTF-8)</source>
        <translation>rds encoding for LongPS (UTF-8)</translation>
    </message>
    <message>
        <source>rds radio text A end char</source>
        <translation>rds radio text A end char</translation>
    </message>
    <message>
        <source>rds radio text B end char</source>
        <translation>rds radio text B end char</translation>
    </message>
    <message>
        <source>rds radio text C end char</source>
        <translation>rds radio text C end char</translation>
    </message>
    <message>
        <source>rds radio text D end char</source>
        <translation>rds radio text D end char</translation>
    </message>
    <message>
        <source>rds LongPS end char</source>
        <translation>rds LongPS end char</translation>
    </message>
    <message>
        <source>rds append end char to radio text A-D and LongPS</source>
        <translation>rds append end char to radio text A-D and LongPS</translation>
    </message>
    <message>
        <source>rds program type 1 repeat</source>
        <translation>rds program type 1 repeat</translation>
    </message>
    <message>
        <source>rds program type 2 repeat</source>
        <translation>rds program type 2 repeat</translation>
    </message>
    <message>
        <source>rds group 4 UTC zone hour offset</source>
        <translation>rds group 4 UTC zone hour offset</translation>
    </message>
    <message>
        <source>rds group 4 minute offset</source>
        <translation>rds group 4 minute offset</translation>
    </message>
    <message>
        <source>rds group 4 fix date in days since 1.3.1900</source>
        <translation>rds group 4 fix date in days since 1.3.1900</translation>
    </message>
    <message>
        <source>rds group 4 use 0=date of today, 1=fix date from days</source>
        <translation>rds group 4 use 0=date of today, 1=fix date from days</translation>
    </message>
    <message>
        <source>rds error gen 0=invert, 1=set to 0, 2=set to 1, &amp;128=on</source>
        <translation>rds error gen 0=invert, 1=set to 0, 2=set to 1, &amp;128=on</translation>
    </message>
    <message>
        <source>rds error gen bit error rate</source>
        <translation>rds error gen bit error rate</translation>
    </message>
    <message>
        <source>rds error gen fix 1=checkword | 2=group | 4=PI | &amp;128=exact ber bits per group</source>
        <translation>rds error gen fix 1=checkword | 2=group | 4=PI | &amp;128=exact ber bits per group</translation>
    </message>
    <message>
        <source>rds rates [0=off|1=on] stream1 stream2 stream3 stream4</source>
        <translation>rds rates [0=off|1=on] stream1 stream2 stream3 stream4</translation>
    </message>
    <message>
        <source>rds group 0A or 0B rates</source>
        <translation>rds group 0A or 0B rates</translation>
    </message>
    <message>
        <source>rds group 2A or 2B rates</source>
        <translation>rds group 2A or 2B rates</translation>
    </message>
    <message>
        <source>rds group 1A rates</source>
        <translation>rds group 1A rates</translation>
    </message>
    <message>
        <source>rds group 3A rates</source>
        <translation>rds group 3A rates</translation>
    </message>
    <message>
        <source>rds group 4A rates</source>
        <translation>rds group 4A rates</translation>
    </message>
    <message>
        <source>rds group 5A rates</source>
        <translation>rds group 5A rates</translation>
    </message>
    <message>
        <source>rds group 6A rates</source>
        <translation>rds group 6A rates</translation>
    </message>
    <message>
        <source>rds group 7A rates</source>
        <translation>rds group 7A rates</translation>
    </message>
    <message>
        <source>rds group 8A rates</source>
        <translation>rds group 8A rates</translation>
    </message>
    <message>
        <source>rds group 9A rates</source>
        <translation>rds group 9A rates</translation>
    </message>
    <message>
        <source>rds group 10A rates</source>
        <translation>rds group 10A rates</translation>
    </message>
    <message>
        <source>rds group 11A rates</source>
        <translation>rds group 11A rates</translation>
    </message>
    <message>
        <source>rds group 12A rates</source>
        <translation>rds group 12A rates</translation>
    </message>
    <message>
        <source>rds group 13A rates</source>
        <translation>rds group 13A rates</translation>
    </message>
    <message>
        <source>rds group 14A rates</source>
        <translation>rds group 14A rates</translation>
    </message>
    <message>
        <source>rds group 15A rates</source>
        <translation>rds group 15A rates</translation>
    </message>
    <message>
        <source>rds 15B TA on burst count</source>
        <translation>rds 15B TA on burst count</translation>
    </message>
    <message>
        <source>rds 15B TA off burst count</source>
        <translation>rds 15B TA off burst count</translation>
    </message>
    <message>
        <source>rds 15B TA on burst time</source>
        <translation>rds 15B TA on burst time</translation>
    </message>
    <message>
        <source>rds 15B TA off burst time</source>
        <translation>rds 15B TA off burst time</translation>
    </message>
    <message>
        <source>rds eon TA on burst count</source>
        <translation>rds eon TA on burst count</translation>
    </message>
    <message>
        <source>rds eon TA off burst count</source>
        <translation>rds eon TA off burst count</translation>
    </message>
    <message>
        <source>rds eon TA on burst time</source>
        <translation>rds eon TA on burst time</translation>
    </message>
    <message>
        <source>rds eon TA off burst time</source>
        <translation>rds eon TA off burst time</translation>
    </message>
    <message>
        <source>rds eon channel PI PTY TP TA link</source>
        <translation>rds eon channel PI PTY TP TA link</translation>
    </message>
    <message>
        <source>rds eon program service name</source>
        <translation>rds eon program service name</translation>
    </message>
    <message>
        <source>rds eon alternative frequencies * 10 (958 -&gt; 95.8 MHz)</source>
        <translation>rds eon alternative frequencies * 10 (958 -&gt; 95.8 MHz)</translation>
    </message>
    <message>
        <source>rds group 1 radio paging (5 bits)</source>
        <translation>rds group 1 radio paging (5 bits)</translation>
    </message>
    <message>
        <source>rds group 1 slow labeling code</source>
        <translation>rds group 1 slow labeling code</translation>
    </message>
    <message>
        <source>rds group 1 program item number</source>
        <translation>rds group 1 program item number</translation>
    </message>
    <message>
        <source>rds play log files on/off</source>
        <translation>rds play log files on/off</translation>
    </message>
    <message>
        <source>rds play log file list</source>
        <translation>rds play log file list</translation>
    </message>
    <message>
        <source>rds2 ODA data: A B C D cwA cwB cwC cwD G0min G1min G2min G3min active</source>
        <translation>rds2 ODA data: A B C D cwA cwB cwC cwD G0min G1min G2min G3min active</translation>
    </message>
    <message>
        <source>rds2 streams to use bitmask (use stream 0, 1 and 3: 1+2+8 = 11)</source>
        <translation>rds2 streams to use bitmask (use stream 0, 1 and 3: 1+2+8 = 11)</translation>
    </message>
    <message>
        <source>tmc source enabled/disabled</source>
        <translation>tmc source enabled/disabled</translation>
    </message>
    <message>
        <source>tmc source name</source>
        <translation>tmc source name</translation>
    </message>
    <message>
        <source>tmc enable &amp;1/8/16/32=variant 0/1/2/3, &amp;2=tmcpro &amp;4=skt</source>
        <translation>tmc enable &amp;1/8/16/32=variant 0/1/2/3, &amp;2=tmcpro &amp;4=skt</translation>
    </message>
    <message>
        <source>tmc ENCID rate (groups per minute)</source>
        <translation>tmc ENCID rate (groups per minute)</translation>
    </message>
    <message>
        <source>tmc service provider name</source>
        <translation>tmc service provider name</translation>
    </message>
    <message>
        <source>tmc AID application id (block 4, usually CD46)</source>
        <translation>tmc AID application id (block 4, usually CD46)</translation>
    </message>
    <message>
        <source>tmc variant 0 data (block 3)</source>
        <translation>tmc variant 0 data (block 3)</translation>
    </message>
    <message>
        <source>tmc variant 1 data (block 3)</source>
        <translation>tmc variant 1 data (block 3)</translation>
    </message>
    <message>
        <source>tmc variant 2 data (block 3)</source>
        <translation>tmc variant 2 data (block 3)</translation>
    </message>
    <message>
        <source>tmc variant 3 data (block 3)</source>
        <translation>tmc variant 3 data (block 3)</translation>
    </message>
    <message>
        <source>tmc LTN location table number (in va0)</source>
        <translation>tmc LTN location table number (in va0)</translation>
    </message>
    <message>
        <source>tmc SID service identification (in va1)</source>
        <translation>tmc SID service identification (in va1)</translation>
    </message>
    <message>
        <source>tmc location table country code (in va1)</source>
        <translation>tmc location table country code (in va1)</translation>
    </message>
    <message>
        <source>tmc location table extended country code (in va2)</source>
        <translation>tmc location table extended country code (in va2)</translation>
    </message>
    <message>
        <source>tmc immediate group repeat</source>
        <translation>tmc immediate group repeat</translation>
    </message>
    <message>
        <source>tmc ENCID encryption id for TMCpro</source>
        <translation>tmc ENCID encryption id for TMCpro</translation>
    </message>
    <message>
        <source>tmc service key table</source>
        <translation>tmc service key table</translation>
    </message>
    <message>
        <source>tmc duration extent event place send labels</source>
        <translation>tmc duration extent event place send labels</translation>
    </message>
    <message>
        <source>usage: GET key (get value for key) example: GET rds.1.ps</source>
        <translation>usage: GET key (get value for key) example: GET rds.1.ps</translation>
    </message>
    <message>
        <source>usage: SET key value (set value for key)</source>
        <translation>usage: SET key value (set value for key)</translation>
    </message>
    <message>
        <source>usage: REG key (receive key change events) example: REG rds.1</source>
        <translation>usage: REG key (receive key change events) example: REG rds.1</translation>
    </message>
    <message>
        <source>usage: UNR key (unregister key, dont get change notification)</source>
        <translation>usage: UNR key (unregister key, dont get change notification)</translation>
    </message>
    <message>
        <source>usage: CD path (change directory) example: CD ..</source>
        <translation>usage: CD path (change directory) example: CD ..</translation>
    </message>
    <message>
        <source>usage: DIR path mask (list files in path) example: DIR . *.fm</source>
        <translation>usage: DIR path mask (list files in path) example: DIR . *.fm</translation>
    </message>
    <message>
        <source>usage: LIST path mask (same as DIR) example: LIST . *.fm</source>
        <translation>usage: LIST path mask (same as DIR) example: LIST . *.fm</translation>
    </message>
    <message>
        <source>example: SET rdslog time raw data group</source>
        <translation>example: SET rdslog time raw data group</translation>
    </message>
    <message>
        <source>modulator state: onair (transmitting) or offline</source>
        <translation>modulator state: onair (transmitting) or offline</translation>
    </message>
    <message>
        <source>0=EU, 1=Japan, 2=Brazil</source>
        <translation>0=EU, 1=Japan, 2=Brazil</translation>
    </message>
    <message>
        <source>attenuate HF signal</source>
        <translation>attenuate HF signal</translation>
    </message>
    <message>
        <source>rds transmission rates are give in groups per mintue (old: dsec if key is not present)</source>
        <translation>rds transmission rates are give in groups per mintue (old: dsec if key is not present)</translation>
    </message>
</context>
<context>
    <name>FMUnlock</name>
    <message>
        <source>Der Modulator #%1 ist bereits verbunden mit:</source>
        <translation>The modulator #%1 is already connected to:</translation>
    </message>
    <message>
        <source>Wenn die Verbindung gekapert wird, wird die andere getrennt.
Evtl. dort laufende Messungen werden abgebrochen!</source>
        <translation>Taking over the connection disconnects the other one.
Measurements running there will be aborted!</translation>
    </message>
    <message>
        <source>zuletzt:</source>
        <translation>recently:</translation>
    </message>
    <message>
        <source> vor einer Weile</source>
        <translation> a while ago</translation>
    </message>
    <message>
        <source> vor %1 Sekunden</source>
        <translation> %1 seconds ago</translation>
    </message>
</context>
<context>
    <name>HuxSpinBox</name>
    <message>
        <source>Erlaubt: %1 bis %2%3</source>
        <translation>Allowed: %1 to %2%3</translation>
    </message>
</context>
<context>
    <name>LanguageUI</name>
    <message>
        <source>Select Language</source>
        <translation>Select Language</translation>
    </message>
    <message>
        <source> &amp;English</source>
        <translation> &amp;English</translation>
    </message>
    <message>
        <source> &amp;Deutsch</source>
        <translation> &amp;Deutsch</translation>
    </message>
</context>
<context>
    <name>ODAEdit</name>
    <message>
        <source>auto</source>
        <translation>auto</translation>
    </message>
</context>
<context>
    <name>ODAModel</name>
    <message>
        <source>auto</source>
        <translation>auto</translation>
    </message>
    <message>
        <source>Data A</source>
        <translation>Data A</translation>
    </message>
    <message>
        <source>Data B</source>
        <translation>Data B</translation>
    </message>
    <message>
        <source>Data C</source>
        <translation>Data C</translation>
    </message>
    <message>
        <source>Data D</source>
        <translation>Data D</translation>
    </message>
    <message>
        <source>Check A</source>
        <translation>Check A</translation>
    </message>
    <message>
        <source>Check B</source>
        <translation>Check B</translation>
    </message>
    <message>
        <source>Check C</source>
        <translation>Check C</translation>
    </message>
    <message>
        <source>Check D</source>
        <translation>Check D</translation>
    </message>
    <message>
        <source>G0 / min</source>
        <translation>G0 / min</translation>
    </message>
    <message>
        <source>G1 / min</source>
        <translation>G1 / min</translation>
    </message>
    <message>
        <source>G2 / min</source>
        <translation>G2 / min</translation>
    </message>
    <message>
        <source>G3 / min</source>
        <translation>G3 / min</translation>
    </message>
    <message>
        <source>Block A Daten</source>
        <translation>Block A data</translation>
    </message>
    <message>
        <source>Block B Daten</source>
        <translation>Block B data</translation>
    </message>
    <message>
        <source>Block C Daten</source>
        <translation>Block C data</translation>
    </message>
    <message>
        <source>Block D Daten</source>
        <translation>Block D data</translation>
    </message>
    <message>
        <source>Checkword A</source>
        <translation>Check word A</translation>
    </message>
    <message>
        <source>Checkword B</source>
        <translation>Check word B</translation>
    </message>
    <message>
        <source>Checkword C</source>
        <translation>Check word C</translation>
    </message>
    <message>
        <source>Checkword D</source>
        <translation>Check word D</translation>
    </message>
    <message>
        <source>Gruppen pro Minute für Stream 0</source>
        <translation>Groups per minute on stream 0</translation>
    </message>
    <message>
        <source>Gruppen pro Minute für Stream 1</source>
        <translation>Groups per minute on stream 1</translation>
    </message>
    <message>
        <source>Gruppen pro Minute für Stream 2</source>
        <translation>Groups per minute on stream 2</translation>
    </message>
    <message>
        <source>Gruppen pro Minute für Stream 3</source>
        <translation>Groups per minute on stream 3</translation>
    </message>
</context>
<context>
    <name>RDSDecoder</name>
    <message>
        <source>Summe</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>Gruppe</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>Gesamt</source>
        <translation>Sent</translation>
    </message>
    <message>
        <source>G / min</source>
        <translation>G / min</translation>
    </message>
    <message>
        <source>Prozent</source>
        <translation>Percent</translation>
    </message>
    <message>
        <source>RDS-Gruppe filtern</source>
        <translation>Filter RDS group</translation>
    </message>
    <message>
        <source>Pakete insgesamt gesendet</source>
        <translation>Groups sent in total</translation>
    </message>
    <message>
        <source>Gruppen pro Minute</source>
        <translation>Groups per minute</translation>
    </message>
</context>
<context>
    <name>RampeUI</name>
    <message>
        <source>Start-Frequenz in Hz</source>
        <translation>Start frequency in Hz</translation>
    </message>
    <message>
        <source>Start-Lautstärke</source>
        <translation>Start volume</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>End-Frequenz in Hz</source>
        <translation>End frequency in Hz</translation>
    </message>
    <message>
        <source>End-Lautstärke</source>
        <translation>End volume</translation>
    </message>
    <message>
        <source>in</source>
        <translation>in</translation>
    </message>
    <message>
        <source>Dauer in Sekunden</source>
        <translation>Duration in seconds</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
</context>
<context>
    <name>ReleaseNotes</name>
    <message>
        <source>Änderungen in Version </source>
        <translation>Changes in version </translation>
    </message>
</context>
<context>
    <name>ReleaseNotesUI</name>
    <message>
        <source>Neuigkeiten</source>
        <translation>What&apos;s new</translation>
    </message>
    <message>
        <source>vorherige</source>
        <translation>previous</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>nächste</source>
        <translation>next</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Up</translation>
    </message>
</context>
<context>
    <name>RemoteUI</name>
    <message>
        <source>Fernsteuerung einstellen</source>
        <translation>Remote Control Settings</translation>
    </message>
    <message>
        <source>&amp;Fernsteuer-Port:</source>
        <translation>&amp;Remote port:</translation>
    </message>
    <message>
        <source>Port zur Fernsteueung dieser Applikation</source>
        <translation>Port to control this application remotely</translation>
    </message>
    <message>
        <source>&amp;RDS-Start-Port:</source>
        <translation>&amp;RDS start port:</translation>
    </message>
    <message>
        <source>Kanal 1 Port für RDS Daten
Kanal N Port = Start-Port + N-1</source>
        <translation>Channel 1 port for RDS data
Channel N port = start port + N-1</translation>
    </message>
    <message>
        <source>&amp;Speichern</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>SinusUI</name>
    <message>
        <source>L:</source>
        <translation>L:</translation>
    </message>
    <message>
        <source>Frequenz links in Hz</source>
        <translation>Left frequency in Hz</translation>
    </message>
    <message>
        <source>Lautstärke links</source>
        <translation>Left volume</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>R:</source>
        <translation>R:</translation>
    </message>
    <message>
        <source>Frequenz rechts in Hz</source>
        <translation>Right frequency in Hz</translation>
    </message>
    <message>
        <source>Lautstärke rechts</source>
        <translation>Right volume</translation>
    </message>
</context>
<context>
    <name>Slider</name>
    <message>
        <source>%1 %2 liegt außerhalb von %3 bis %4 %2</source>
        <translation>%1 %2 is outside %3 to %4 %2</translation>
    </message>
    <message>
        <source>%1 %2 liegt außerhalb von %3 bis %4 %2: nichts gespeichert</source>
        <translation>%1 %2 is outside %3 to %4 %2: nothing stored</translation>
    </message>
</context>
<context>
    <name>SrcFiles</name>
    <message>
        <source>Jetzt abspielen</source>
        <translation>Play now</translation>
    </message>
</context>
<context>
    <name>TMCEvents</name>
    <message>
        <source>für min. 15 Minuten</source>
        <translation>for at least 15 minutes</translation>
    </message>
    <message>
        <source>für min. 30 Minuten</source>
        <translation>for at least 30 minutes</translation>
    </message>
    <message>
        <source>für min. eine Stunde</source>
        <translation>for at least one hour</translation>
    </message>
    <message>
        <source>für min. 2 Stunden</source>
        <translation>for at least 2 hours</translation>
    </message>
    <message>
        <source>für min. 3 Stunden</source>
        <translation>for at least 3 hours</translation>
    </message>
    <message>
        <source>für min. 4 Stunden</source>
        <translation>for at least 4 hours</translation>
    </message>
    <message>
        <source>für den ganzen Tag</source>
        <translation>for the rest of the day</translation>
    </message>
    <message>
        <source>innerhalb von 15 Minuten</source>
        <translation>within 15 minutes</translation>
    </message>
    <message>
        <source>innerhalb von 30 Minuten</source>
        <translation>within 30 minutes</translation>
    </message>
    <message>
        <source>innerhalb einer Stunde</source>
        <translation>within one hour</translation>
    </message>
    <message>
        <source>innerhalb von 2 Stunden</source>
        <translation>within 2 hours</translation>
    </message>
    <message>
        <source>innerhalb von 3 Stunden</source>
        <translation>within 3 hours</translation>
    </message>
    <message>
        <source>innerhalb von 4 Stunden</source>
        <translation>within 4 hours</translation>
    </message>
    <message>
        <source>im Laufe des Tages</source>
        <translation>during the day</translation>
    </message>
    <message>
        <source>für die nächsten Stunden</source>
        <translation>for the next few hours</translation>
    </message>
    <message>
        <source>bis morgen Abend</source>
        <translation>until tomorrow evening</translation>
    </message>
    <message>
        <source>für die restliche Woche</source>
        <translation>for the rest of the week</translation>
    </message>
    <message>
        <source>bis Ende nächster Woche</source>
        <translation>until the end of next week</translation>
    </message>
    <message>
        <source>für lange Zeit</source>
        <translation>for a long time</translation>
    </message>
    <message>
        <source>in den nächsten Stunden</source>
        <translation>in the next few hours</translation>
    </message>
    <message>
        <source>Morgen</source>
        <translation>Tomorrow</translation>
    </message>
    <message>
        <source>Übermorgen</source>
        <translation>The day after tomorrow</translation>
    </message>
    <message>
        <source>dieses Wochenende</source>
        <translation>this weekend</translation>
    </message>
    <message>
        <source>im Laufe der Woche</source>
        <translation>during the week</translation>
    </message>
    <message>
        <source>nächste Woche</source>
        <translation>next week</translation>
    </message>
    <message>
        <source>Code nicht gefunden</source>
        <translation>Code not found</translation>
    </message>
    <message>
        <source>%1
%2
Zeile: %3 / C: %4</source>
        <translation>%1
%2
Zeile: %3 / C: %4</translation>
    </message>
    <message>
        <source>Referenz:</source>
        <translation>Reference:</translation>
    </message>
    <message>
        <source>länger anhaltend</source>
        <translation>long lasting</translation>
    </message>
    <message>
        <source>beide Richtungen</source>
        <translation>both directions</translation>
    </message>
    <message>
        <source>Vorhersage</source>
        <translation>Forecast</translation>
    </message>
    <message>
        <source>Stille Meldung</source>
        <translation>Silent message</translation>
    </message>
    <message>
        <source>Wichtig!</source>
        <translation>Important!</translation>
    </message>
    <message>
        <source>Sehr wichtig!</source>
        <translation>Very important!</translation>
    </message>
    <message>
        <source>Aufheben: %1</source>
        <translation>Cancel: %1</translation>
    </message>
    <message>
        <source>Unbekannt</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>bis zum Monatsende</source>
        <translation>until the end of the month</translation>
    </message>
</context>
<context>
    <name>TMCEventsUI</name>
    <message>
        <source>TMC Ereignis suchen</source>
        <translation>Find TMC event</translation>
    </message>
    <message>
        <source>Textfragment suchen</source>
        <translation>Search for a text fragment</translation>
    </message>
    <message>
        <source>suche Ereignis, z.B.: Stau</source>
        <translation>find event, e.g.: queue</translation>
    </message>
    <message>
        <source>N:</source>
        <translation>N:</translation>
    </message>
    <message>
        <source>Nature</source>
        <translation>Nature</translation>
    </message>
    <message>
        <source>&lt;alle&gt;</source>
        <translation>&lt;all&gt;</translation>
    </message>
    <message>
        <source>_ Information</source>
        <translation>_ Information</translation>
    </message>
    <message>
        <source>F Vorhersage</source>
        <translation>F Forecast</translation>
    </message>
    <message>
        <source>S Still</source>
        <translation>S Silent</translation>
    </message>
    <message>
        <source>T:</source>
        <translation>T:</translation>
    </message>
    <message>
        <source>Duration Type</source>
        <translation>Duration Type</translation>
    </message>
    <message>
        <source>_ ohne</source>
        <translation>_ none</translation>
    </message>
    <message>
        <source>D dynamisch</source>
        <translation>D dynamic</translation>
    </message>
    <message>
        <source>L langlebig</source>
        <translation>L longer lasting</translation>
    </message>
    <message>
        <source>U:</source>
        <translation>U:</translation>
    </message>
    <message>
        <source>Urgency</source>
        <translation>Urgency</translation>
    </message>
    <message>
        <source>_ normal</source>
        <translation>_ normal</translation>
    </message>
    <message>
        <source>U wichtig</source>
        <translation>U urgent</translation>
    </message>
    <message>
        <source>X sehr wichtig</source>
        <translation>X extremely urgent</translation>
    </message>
    <message>
        <source>&amp;Suche Ereignisse</source>
        <translation>&amp;Find events</translation>
    </message>
    <message>
        <source>Q:</source>
        <translation>Q:</translation>
    </message>
    <message>
        <source>Quantifier</source>
        <translation>Quantifier</translation>
    </message>
    <message>
        <source>D:</source>
        <translation>D:</translation>
    </message>
    <message>
        <source>Directionality</source>
        <translation>Directionality</translation>
    </message>
    <message>
        <source>C:</source>
        <translation>C:</translation>
    </message>
    <message>
        <source>Class</source>
        <translation>Class</translation>
    </message>
</context>
<context>
    <name>TMCEvtModel</name>
    <message>
        <source>Ereignis Code</source>
        <translation>Event code</translation>
    </message>
    <message>
        <source>Zeile im Standard</source>
        <translation>Row in the standard</translation>
    </message>
    <message>
        <source>Nature</source>
        <translation>Nature</translation>
    </message>
    <message>
        <source>Quantifier</source>
        <translation>Quantifier</translation>
    </message>
    <message>
        <source>Duration Type</source>
        <translation>Duration Type</translation>
    </message>
    <message>
        <source>Directionality</source>
        <translation>Directionality</translation>
    </message>
    <message>
        <source>Urgency</source>
        <translation>Urgency</translation>
    </message>
    <message>
        <source>Class</source>
        <translation>Class</translation>
    </message>
    <message>
        <source>References</source>
        <translation>References</translation>
    </message>
    <message>
        <source>Ereignistext Deutsch / English</source>
        <translation>Event text German / English</translation>
    </message>
</context>
<context>
    <name>TMCLblModel</name>
    <message>
        <source>Label nur einmal erlaubt</source>
        <translation>Label allowed only once</translation>
    </message>
    <message>
        <source>Separator erforderlich</source>
        <translation>Separator required</translation>
    </message>
    <message>
        <source>Dauer 0 unzulässig</source>
        <translation>Duration 0 not allowed</translation>
    </message>
    <message>
        <source>Jeder Code nur einmal erlaubt</source>
        <translation>Each code allowed only once</translation>
    </message>
    <message>
        <source>Quantifier hat falsche Bitbreite</source>
        <translation>Quantifier has the wrong bit width</translation>
    </message>
    <message>
        <source>Ereignis hat keinen Quantifier</source>
        <translation>Event has no quantifier</translation>
    </message>
    <message>
        <source>Stille Meldung unzulässig</source>
        <translation>Silent message not allowed</translation>
    </message>
    <message>
        <source>über 100 km</source>
        <translation>over 100 km</translation>
    </message>
    <message>
        <source>%1 km</source>
        <translation>%1 km</translation>
    </message>
    <message>
        <source>%1 km/h</source>
        <translation>%1 km/h</translation>
    </message>
    <message>
        <source>Limit für 4 Gruppen überschritten (max. 4*28 Bits)</source>
        <translation>Limit of 4 groups exceeded (max. 4*28 bits)</translation>
    </message>
</context>
<context>
    <name>TMCMsgModel</name>
    <message>
        <source>nein</source>
        <translation>no</translation>
    </message>
    <message>
        <source>ja</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>aufheben</source>
        <translation>cancel</translation>
    </message>
    <message>
        <source>nein / ja / aufheben</source>
        <translation>no / yes / cancel</translation>
    </message>
    <message>
        <source>Senden</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>Ereignis</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>Ortscode</source>
        <translation>Location code</translation>
    </message>
    <message>
        <source>Ereignis Code</source>
        <translation>Event code</translation>
    </message>
    <message>
        <source>Location Code aus LTN</source>
        <translation>Location code from LTN</translation>
    </message>
</context>
<context>
    <name>TMCPlaces</name>
    <message>
        <source>Code nicht gefunden</source>
        <translation>Code not found</translation>
    </message>
</context>
<context>
    <name>TMCPlacesUI</name>
    <message>
        <source>TMC Orte suchen</source>
        <translation>Find TMC locations</translation>
    </message>
    <message>
        <source>Textfragment suchen</source>
        <translation>Search for a text fragment</translation>
    </message>
    <message>
        <source>suche Ort, z.B.: Bonn</source>
        <translation>find location, e.g.: Bonn</translation>
    </message>
    <message>
        <source>&amp;Suche Orte</source>
        <translation>&amp;Find locations</translation>
    </message>
</context>
<context>
    <name>TMCTable</name>
    <message>
        <source>Daten</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Ereignis suchen</source>
        <translation>Find event</translation>
    </message>
    <message>
        <source>Ort suchen</source>
        <translation>Find location</translation>
    </message>
</context>
<context>
    <name>TabFlag</name>
    <message>
        <source>Europa FM-Band
87.5 - 108.0 MHz</source>
        <translation>European FM-Band
87.5 - 108.0 MHz</translation>
    </message>
    <message>
        <source>Japan FM-Band
76.0 - 95.0 MHz</source>
        <translation>Japan FM-Band
76.0 - 95.0 MHz</translation>
    </message>
    <message>
        <source>Brasilien FM-Band
76.0 - 108.0 MHz</source>
        <translation>Brazil FM-Band
76.0 - 108.0 MHz</translation>
    </message>
    <message>
        <source>FM Modulator HF aktiv
Kanäle werden gesendet</source>
        <translation>FM modulator HF active
Channels are sent</translation>
    </message>
    <message>
        <source>FM Modulator HF stumm
Keine Kanäle werden gesendet</source>
        <translation>FM modulator HF muted
no channels are sent</translation>
    </message>
</context>
<context>
    <name>TabRDS</name>
    <message>
        <source>1 Nachrichten</source>
        <translation>1 News</translation>
    </message>
    <message>
        <source>2 Aktuelle Info</source>
        <translation>2 Current Affairs</translation>
    </message>
    <message>
        <source>5 Bildung</source>
        <translation>5 Education</translation>
    </message>
    <message>
        <source>6 Hörspiel und Literatur</source>
        <translation>6 Drama</translation>
    </message>
    <message>
        <source>7 Kultur und Gesellschaft</source>
        <translation>7 Culture</translation>
    </message>
    <message>
        <source>8 Wissenschaft</source>
        <translation>8 Science</translation>
    </message>
    <message>
        <source>9 Unterhaltung</source>
        <translation>9 Varied</translation>
    </message>
    <message>
        <source>12 Unterhaltungsmusik</source>
        <translation>12 Easy Listening</translation>
    </message>
    <message>
        <source>13 Leichte Klassik</source>
        <translation>13 Light Classical</translation>
    </message>
    <message>
        <source>14 Ernste Klassik</source>
        <translation>14 Serious Classical</translation>
    </message>
    <message>
        <source>15 Spezielle Musik</source>
        <translation>15 Other Music</translation>
    </message>
    <message>
        <source>16 Wetter</source>
        <translation>16 Weather</translation>
    </message>
    <message>
        <source>17 Wirtschaft</source>
        <translation>17 Finance</translation>
    </message>
    <message>
        <source>18 Kinderprogramm</source>
        <translation>18 Children&apos;s Programmes</translation>
    </message>
    <message>
        <source>19 Soziales</source>
        <translation>19 Social Affairs</translation>
    </message>
    <message>
        <source>21 Anrufsendung</source>
        <translation>21 Phone-in</translation>
    </message>
    <message>
        <source>22 Reiseinformation</source>
        <translation>22 Travel</translation>
    </message>
    <message>
        <source>23 Freizeit</source>
        <translation>23 Leisure</translation>
    </message>
    <message>
        <source>RDS-Log Dateien hinzufügen</source>
        <translation>Add RDS log files</translation>
    </message>
    <message>
        <source>Log Dateien (*.txt *.log);;Alle Dateien (*)</source>
        <translation>Log files (*.txt *.log);;All files (*)</translation>
    </message>
    <message>
        <source>aus Log Datei</source>
        <translation>from log file</translation>
    </message>
    <message>
        <source>Fernzugriff</source>
        <translation>remote access</translation>
    </message>
    <message>
        <source>Name der %1. RDS Quelle</source>
        <translation>Name of RDS source %1</translation>
    </message>
    <message>
        <source>&lt;Kanal wählen&gt;</source>
        <translation>&lt;choose channel&gt;</translation>
    </message>
    <message>
        <source>Kanal %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source> (RDS-Quelle %1)</source>
        <translation> (RDS source %1)</translation>
    </message>
    <message>
        <source>&lt;keine&gt;</source>
        <translation>&lt;none&gt;</translation>
    </message>
    <message>
        <source>Item toggle bit: aus</source>
        <translation>Item toggle bit: off</translation>
    </message>
    <message>
        <source>Item toggle bit: automatisch mit Audio ID3 Tag</source>
        <translation>Item toggle bit: automatic with the audio ID3 tag</translation>
    </message>
    <message>
        <source>Item toggle bit: ein</source>
        <translation>Item toggle bit: on</translation>
    </message>
    <message>
        <source>Item running bit: ein</source>
        <translation>Item running bit: on</translation>
    </message>
    <message>
        <source>Item running bit: aus</source>
        <translation>Item running bit: off</translation>
    </message>
    <message>
        <source>Die RadioText+ Tags gelten nur für eine RadioText-Gruppe!</source>
        <translation>The RadioText+ tags apply to one RadioText group only!</translation>
    </message>
    <message>
        <source>Überregional</source>
        <translation>Supra-regional</translation>
    </message>
    <message>
        <source>Regional %1</source>
        <translation>Regional %1</translation>
    </message>
    <message>
        <source>kurze Reichweite (low-power)</source>
        <translation>short range (low-power)</translation>
    </message>
    <message>
        <source>Anwendungscode</source>
        <translation>Application code</translation>
    </message>
    <message>
        <source>Länder mit</source>
        <translation>Countries with</translation>
    </message>
    <message>
        <source>Kunstkopf</source>
        <translation>Artificial head</translation>
    </message>
    <message>
        <source>Komprimiert</source>
        <translation>Compressed</translation>
    </message>
    <message>
        <source># Kanal %1</source>
        <translation># Channel %1</translation>
    </message>
    <message>
        <source>RDS-Log speichern...</source>
        <translation>Save RDS log...</translation>
    </message>
    <message>
        <source>RDS-Log (*.txt);;Alle Dateien (*)</source>
        <translation>RDS log (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>bei &gt;25 Frequenzen sollte Verfahren B eingesetzt werden</source>
        <translation>with more than 25 frequencies method B should be used</translation>
    </message>
</context>
<context>
    <name>TabRDS0</name>
    <message>
        <source>Basic Tuning and Switching</source>
        <translation>Basic Tuning and Switching</translation>
    </message>
    <message>
        <source>Basic tuning and switching information, decoder bits (DI)</source>
        <translation>Basic tuning and switching information, decoder bits (DI)</translation>
    </message>
    <message>
        <source>TP</source>
        <translation>TP</translation>
    </message>
    <message>
        <source>Traffic Program</source>
        <translation>Traffic Program</translation>
    </message>
    <message>
        <source>TA</source>
        <translation>TA</translation>
    </message>
    <message>
        <source>Traffic Announcement</source>
        <translation>Traffic Announcement</translation>
    </message>
    <message>
        <source>PI-Code:</source>
        <translation>PI-Code:</translation>
    </message>
    <message>
        <source>Program Identification</source>
        <translation>Program Identification</translation>
    </message>
    <message>
        <source>Program Identification with
Country Identifier (First Digit)</source>
        <translation>Program Identification with
Country Identifier (First Digit)</translation>
    </message>
    <message>
        <source>dynamic PTY</source>
        <translation>dynamic PTY</translation>
    </message>
    <message>
        <source>Program Type kann sich ändern</source>
        <translation>Program Type may change</translation>
    </message>
    <message>
        <source>Program Type</source>
        <translation>Program Type</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>im Standard 2018 entfernt</source>
        <translation>removed in the 2018 standard</translation>
    </message>
    <message>
        <source>Komprimiert</source>
        <translation>Compressed</translation>
    </message>
    <message>
        <source>Kunstkopf</source>
        <translation>Artificial head</translation>
    </message>
    <message>
        <source>Music</source>
        <translation>Music</translation>
    </message>
    <message>
        <source>Speech</source>
        <translation>Speech</translation>
    </message>
    <message>
        <source>Gruppe 1A: Extended Country Code</source>
        <translation>Group 1A: Extended Country Code</translation>
    </message>
    <message>
        <source>slow labeling codes</source>
        <translation>slow labeling codes</translation>
    </message>
    <message>
        <source>Linkage Actuator</source>
        <translation>Linkage Actuator</translation>
    </message>
    <message>
        <source>Anwendungsdaten Bit 8000 in Block C</source>
        <translation>Application data bit 8000 in block C</translation>
    </message>
    <message>
        <source>C/ECC:</source>
        <translation>C/ECC:</translation>
    </message>
    <message>
        <source>Anwendungsdaten 0000-7FFF in Block C
ECC Deutschland = E0</source>
        <translation>Application data 0000-7FFF in block C
ECC Germany = E0</translation>
    </message>
    <message>
        <source>B/Pager:</source>
        <translation>B/Pager:</translation>
    </message>
    <message>
        <source>Personenruf 00-1F in Block B
im Standard 2018 entfernt</source>
        <translation>Paging 00-1F in block B
removed in the 2018 standard</translation>
    </message>
    <message>
        <source>D/PIN:</source>
        <translation>D/PIN:</translation>
    </message>
    <message>
        <source>Beitragskennung 0000-FFFF in Block D
im Standard 2018 entfernt</source>
        <translation>Programme item number 0000-FFFF in block D
removed in the 2018 standard</translation>
    </message>
    <message>
        <source>Rate:</source>
        <translation>Rate:</translation>
    </message>
    <message>
        <source>Senderate G/min</source>
        <translation>Send rate groups/min</translation>
    </message>
    <message>
        <source>Gruppen pro Minute</source>
        <translation>Groups per minute</translation>
    </message>
    <message>
        <source>Gruppe 8A: TMC</source>
        <translation>Group 8A: TMC</translation>
    </message>
    <message>
        <source>TMC Quelle in Gruppe 8A übertragen</source>
        <translation>Send a TMC source in group 8A</translation>
    </message>
    <message>
        <source>TMC Quelle:</source>
        <translation>TMC source:</translation>
    </message>
    <message>
        <source>GAP</source>
        <translation>GAP</translation>
    </message>
    <message>
        <source>GAP einhalten
begrenzt die Senderate</source>
        <translation>Keep the gap
limits the send rate</translation>
    </message>
    <message>
        <source>frei</source>
        <translation>free</translation>
    </message>
    <message>
        <source>mit freien Gruppen auffüllen
es können mehr Gruppen pro Minute gesendet werden</source>
        <translation>fill with free groups
more groups per minute can be sent</translation>
    </message>
    <message>
        <source>Gruppe 3A: ODA</source>
        <translation>Group 3A: ODA</translation>
    </message>
    <message>
        <source>Erkennung abwechselnd senden: TMC, erweiterter RadioText (eRT) und RadioText+ (RT+)</source>
        <translation>Send the identifications in turn: TMC, enhanced RadioText (eRT) and RadioText+ (RT+)</translation>
    </message>
    <message>
        <source>TMC, eRT und RT+ Kennungen senden</source>
        <translation>Send TMC, eRT and RT+ identifications</translation>
    </message>
    <message>
        <source>Gruppen pro Minute (üblich: 12-30)</source>
        <translation>Groups per minute (usual: 12-30)</translation>
    </message>
    <message>
        <source>Gruppe 0: PS Program Service Name &amp;&amp; AF Alternative Frequenzen</source>
        <translation>Group 0: PS Program Service Name &amp;&amp; AF Alternative Frequencies</translation>
    </message>
    <message>
        <source>Anzahl der Bytes von PS (max 8)</source>
        <translation>Number of bytes of PS (max 8)</translation>
    </message>
    <message>
        <source> PS:</source>
        <translation> PS:</translation>
    </message>
    <message>
        <source>Zeichen aus einem Hexcode erzeugen mit: #21 -&gt; &apos;!&apos;</source>
        <translation>Make a character from a hex code with: #21 -&gt; &apos;!&apos;</translation>
    </message>
    <message>
        <source>scrollen*</source>
        <translation>scroll*</translation>
    </message>
    <message>
        <source>* Achtung Standardverletzung!</source>
        <translation>* Caution: violates the standard!</translation>
    </message>
    <message>
        <source> x</source>
        <translation> x</translation>
    </message>
    <message>
        <source>sende n-mal, dann scrolle m-Zeichen</source>
        <translation>send n times, then scroll m characters</translation>
    </message>
    <message>
        <source> Zeichen</source>
        <translation> characters</translation>
    </message>
    <message>
        <source>Gruppe 15A: Long PS</source>
        <translation>Group 15A: Long PS</translation>
    </message>
    <message>
        <source>Anzahl der Bytes von Long PS (max 32)</source>
        <translation>Number of bytes of long PS (max 32)</translation>
    </message>
    <message>
        <source>LPS:</source>
        <translation>LPS:</translation>
    </message>
    <message>
        <source>UTF-8</source>
        <translation>UTF-8</translation>
    </message>
    <message>
        <source>GB18030</source>
        <translation>GB18030</translation>
    </message>
    <message>
        <source>BOM</source>
        <translation>BOM</translation>
    </message>
    <message>
        <source>Unicode #FEFF Byte Order Mark voranstellen</source>
        <translation>Put the Unicode #FEFF byte order mark first</translation>
    </message>
    <message>
        <source>immer mit Endezeichen beenden?</source>
        <translation>always end with the end character?</translation>
    </message>
    <message>
        <source>Endezeichen festlegen (normal #D)</source>
        <translation>Set the end character (normally #D)</translation>
    </message>
    <message>
        <source>Gruppe 10A: PTYN Program Type Name</source>
        <translation>Group 10A: PTYN Program Type Name</translation>
    </message>
    <message>
        <source>beide Texte abwechselnd n-mal senden</source>
        <translation>send both texts n times in turn</translation>
    </message>
    <message>
        <source>Gruppe 14A: EON Enhanced Other Networks</source>
        <translation>Group 14A: EON Enhanced Other Networks</translation>
    </message>
    <message>
        <source>für EON sollte die Bits TP aus und TA an sein</source>
        <translation>for EON the bits TP should be off and TA on</translation>
    </message>
    <message>
        <source>Infos für andere Netze</source>
        <translation>Information on other networks</translation>
    </message>
    <message>
        <source>EON Eintrag hinzufügen</source>
        <translation>Add EON entry</translation>
    </message>
    <message>
        <source>markierte Zeilen löschen</source>
        <translation>delete the selected rows</translation>
    </message>
    <message>
        <source>TA Bursts</source>
        <translation>TA Bursts</translation>
    </message>
    <message>
        <source>sende n TA bursts (14B für EON oder 15B-Gruppen) innerhalb von t Sekunden (default n=8, t=1s)
bewirkt Kanalwechsel bis TA aus ist</source>
        <translation>send n TA bursts (14B for EON or 15B groups) within t seconds (default n=8, t=1s)
makes receivers switch until TA is off</translation>
    </message>
    <message>
        <source>14B EON
TA=1 an:</source>
        <translation>14B EON
TA=1 on:</translation>
    </message>
    <message>
        <source>15B Switch
TA=1 an:</source>
        <translation>15B switch
TA=1 on:</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>TA=0 aus:</source>
        <translation>TA=0 off:</translation>
    </message>
    <message>
        <source>Gruppe 4A: UTC Uhrzeit und Datum</source>
        <translation>Group 4A: UTC time and date</translation>
    </message>
    <message>
        <source>sende aktuelle Rechnerzeit jede volle Minute</source>
        <translation>send the computer&apos;s time every full minute</translation>
    </message>
    <message>
        <source>Zone +-</source>
        <translation>Zone +-</translation>
    </message>
    <message>
        <source>Zeitzone festlegen</source>
        <translation>Set the time zone</translation>
    </message>
    <message>
        <source> x 30 min</source>
        <translation> x 30 min</translation>
    </message>
    <message>
        <source>UTC offset zur Lokalzeit in halben Stunden</source>
        <translation>UTC offset of local time in half hours</translation>
    </message>
    <message>
        <source>Zeit +-</source>
        <translation>Time +-</translation>
    </message>
    <message>
        <source>Minutenoffset festlegen</source>
        <translation>Set the minute offset</translation>
    </message>
    <message>
        <source> min</source>
        <translation> min</translation>
    </message>
    <message>
        <source>verschiebe Zeit um x Minuten</source>
        <translation>shift the time by x minutes</translation>
    </message>
    <message>
        <source>Datum:</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>heute</source>
        <translation>today</translation>
    </message>
    <message>
        <source>sende dieses Datum</source>
        <translation>send this date</translation>
    </message>
    <message>
        <source>sende diese Zeit jede volle Minute</source>
        <translation>send this time every full minute</translation>
    </message>
    <message>
        <source>Fehler Generator</source>
        <translation>Error generator</translation>
    </message>
    <message>
        <source>RDS-Datenstrom mit Bit-Fehlern erzeugen</source>
        <translation>Make an RDS data stream with bit errors</translation>
    </message>
    <message>
        <source>Bits invertieren</source>
        <translation>Invert bits</translation>
    </message>
    <message>
        <source>Bits auf 0 setzen</source>
        <translation>Set bits to 0</translation>
    </message>
    <message>
        <source>Bits auf 1 setzen</source>
        <translation>Set bits to 1</translation>
    </message>
    <message>
        <source>Fehler:</source>
        <translation>Errors:</translation>
    </message>
    <message>
        <source>Bitfehlerrate</source>
        <translation>Bit error rate</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>bei 100% werden alle Bits invertiert/gesetzt</source>
        <translation>at 100% every bit is inverted/set</translation>
    </message>
    <message>
        <source>pro Gruppe</source>
        <translation>per group</translation>
    </message>
    <message>
        <source>exakt % Fehler in jeder Gruppe, sonst kontinuierlich</source>
        <translation>exactly % errors in each group, else continuously</translation>
    </message>
    <message>
        <source>Korrigiere:</source>
        <translation>Correct:</translation>
    </message>
    <message>
        <source>korrigiere fehlerhafte Daten nachträglich</source>
        <translation>correct the faulty data afterwards</translation>
    </message>
    <message>
        <source>Gruppe</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>korrigiere die Gruppe</source>
        <translation>correct the group</translation>
    </message>
    <message>
        <source>PI</source>
        <translation>PI</translation>
    </message>
    <message>
        <source>korrigiere den PI-Code</source>
        <translation>correct the PI code</translation>
    </message>
    <message>
        <source>Checkword</source>
        <translation>Checkword</translation>
    </message>
    <message>
        <source>korrigiere die Checkwords</source>
        <translation>correct the checkwords</translation>
    </message>
</context>
<context>
    <name>TabRDS2</name>
    <message>
        <source>sende RDS2 streams (ab Firmware v29)</source>
        <translation>send RDS2 streams (firmware v29 and later)</translation>
    </message>
    <message>
        <source>Stream1 @ 66.50 kHz</source>
        <translation>Stream1 @ 66.50 kHz</translation>
    </message>
    <message>
        <source>Stream senden</source>
        <translation>Send stream</translation>
    </message>
    <message>
        <source>Stream2 @ 71.25 kHz</source>
        <translation>Stream2 @ 71.25 kHz</translation>
    </message>
    <message>
        <source>Stream3 @ 76.00 kHz</source>
        <translation>Stream3 @ 76.00 kHz</translation>
    </message>
    <message>
        <source>Stream0 Kopie</source>
        <translation>Stream0 copy</translation>
    </message>
    <message>
        <source>1:1 Kopie von Stream0 senden</source>
        <translation>send a 1:1 copy of stream0</translation>
    </message>
    <message>
        <source>Gruppen pro Minute</source>
        <translation>Groups per minute</translation>
    </message>
    <message>
        <source>Gruppe auswählen um die Senderate in den vier Streams festzulegen</source>
        <translation>Choose a group to set its rate in the four streams</translation>
    </message>
    <message>
        <source>0A</source>
        <translation>0A</translation>
    </message>
    <message>
        <source>PS mit AF</source>
        <translation>PS with AF</translation>
    </message>
    <message>
        <source>1A</source>
        <translation>1A</translation>
    </message>
    <message>
        <source>ECC</source>
        <translation>ECC</translation>
    </message>
    <message>
        <source>2A</source>
        <translation>2A</translation>
    </message>
    <message>
        <source>RadioText</source>
        <translation>RadioText</translation>
    </message>
    <message>
        <source>3A</source>
        <translation>3A</translation>
    </message>
    <message>
        <source>ODA Kennungen</source>
        <translation>ODA identifications</translation>
    </message>
    <message>
        <source>4A</source>
        <translation>4A</translation>
    </message>
    <message>
        <source>ClockTime</source>
        <translation>ClockTime</translation>
    </message>
    <message>
        <source>5A</source>
        <translation>5A</translation>
    </message>
    <message>
        <source>6A</source>
        <translation>6A</translation>
    </message>
    <message>
        <source>7A</source>
        <translation>7A</translation>
    </message>
    <message>
        <source>8A</source>
        <translation>8A</translation>
    </message>
    <message>
        <source>TMC</source>
        <translation>TMC</translation>
    </message>
    <message>
        <source>9A</source>
        <translation>9A</translation>
    </message>
    <message>
        <source>10A</source>
        <translation>10A</translation>
    </message>
    <message>
        <source>PTYN</source>
        <translation>PTYN</translation>
    </message>
    <message>
        <source>11A</source>
        <translation>11A</translation>
    </message>
    <message>
        <source>12A</source>
        <translation>12A</translation>
    </message>
    <message>
        <source>13A</source>
        <translation>13A</translation>
    </message>
    <message>
        <source>14A</source>
        <translation>14A</translation>
    </message>
    <message>
        <source>EON</source>
        <translation>EON</translation>
    </message>
    <message>
        <source>15A</source>
        <translation>15A</translation>
    </message>
    <message>
        <source>Long PS</source>
        <translation>Long PS</translation>
    </message>
    <message>
        <source>0B</source>
        <translation>0B</translation>
    </message>
    <message>
        <source>PS ohne AF</source>
        <translation>PS without AF</translation>
    </message>
    <message>
        <source>1B</source>
        <translation>1B</translation>
    </message>
    <message>
        <source>2B</source>
        <translation>2B</translation>
    </message>
    <message>
        <source>3B</source>
        <translation>3B</translation>
    </message>
    <message>
        <source>4B</source>
        <translation>4B</translation>
    </message>
    <message>
        <source>5B</source>
        <translation>5B</translation>
    </message>
    <message>
        <source>6B</source>
        <translation>6B</translation>
    </message>
    <message>
        <source>7B</source>
        <translation>7B</translation>
    </message>
    <message>
        <source>8B</source>
        <translation>8B</translation>
    </message>
    <message>
        <source>9B</source>
        <translation>9B</translation>
    </message>
    <message>
        <source>10B</source>
        <translation>10B</translation>
    </message>
    <message>
        <source>11B</source>
        <translation>11B</translation>
    </message>
    <message>
        <source>12B</source>
        <translation>12B</translation>
    </message>
    <message>
        <source>13B</source>
        <translation>13B</translation>
    </message>
    <message>
        <source>14B</source>
        <translation>14B</translation>
    </message>
    <message>
        <source>EON TA switch</source>
        <translation>EON TA switch</translation>
    </message>
    <message>
        <source>15B</source>
        <translation>15B</translation>
    </message>
    <message>
        <source>TA switch</source>
        <translation>TA switch</translation>
    </message>
    <message>
        <source>Gruppen pro Minute für jeden Stream</source>
        <translation>Groups per minute of each stream</translation>
    </message>
    <message>
        <source>senden</source>
        <translation>send</translation>
    </message>
    <message>
        <source> Stream0:</source>
        <translation> Stream0:</translation>
    </message>
    <message>
        <source>frei</source>
        <translation>free</translation>
    </message>
    <message>
        <source>mit freien Gruppen auffüllen
es dürfen mehr Gruppen pro Minute gesendet werden</source>
        <translation>fill with free groups
more groups per minute may be sent</translation>
    </message>
    <message>
        <source> S1:</source>
        <translation> S1:</translation>
    </message>
    <message>
        <source> S2:</source>
        <translation> S2:</translation>
    </message>
    <message>
        <source> S3:</source>
        <translation> S3:</translation>
    </message>
    <message>
        <source>max 685 G/min pro Stream</source>
        <translation>max 685 groups/min per stream</translation>
    </message>
    <message>
        <source>beliebige Daten senden (ODA):</source>
        <translation>send any data (ODA):</translation>
    </message>
    <message>
        <source>Zeile hinzufügen</source>
        <translation>Add row</translation>
    </message>
    <message>
        <source>Zeilen löschen</source>
        <translation>Delete rows</translation>
    </message>
</context>
<context>
    <name>TabRDSAF</name>
    <message>
        <source>Alternative Frequenzen in Gruppe 0A senden (sonst 0B für PS)</source>
        <translation>Send alternative frequencies in group 0A (else 0B for PS)</translation>
    </message>
    <message>
        <source>Kanal-Automatik</source>
        <translation>Channel automatic</translation>
    </message>
    <message>
        <source>Frequenzen aller Kanäle mit gleicher PI senden</source>
        <translation>Send the frequencies of all channels with the same PI</translation>
    </message>
    <message>
        <source>manuelle Frequenzen</source>
        <translation>manual frequencies</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>nach Verfahren A senden</source>
        <translation>send by method A</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>nach Verfahren B senden</source>
        <translation>send by method B</translation>
    </message>
    <message>
        <source>Bytes</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>zeige als Bytes (sonst Frequenzen)</source>
        <translation>show as bytes (else frequencies)</translation>
    </message>
    <message>
        <source>diese Frequenzen werden automatisch gesendet (gleicher PI-Code)</source>
        <translation>these frequencies are sent automatically (same PI code)</translation>
    </message>
    <message>
        <source>Regional</source>
        <translation>Regional</translation>
    </message>
    <message>
        <source>Frequenz</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <source>diese Frequenzen zusätzlich senden</source>
        <translation>send these frequencies as well</translation>
    </message>
    <message>
        <source>Sendedaten</source>
        <translation>Data sent</translation>
    </message>
    <message>
        <source>Liste</source>
        <translation>List</translation>
    </message>
    <message>
        <source>neue Liste starten</source>
        <translation>start a new list</translation>
    </message>
    <message>
        <source>Freq</source>
        <translation>Freq</translation>
    </message>
    <message>
        <source>Frequenz hinzufügen</source>
        <translation>Add frequency</translation>
    </message>
    <message>
        <source>Einträge löschen</source>
        <translation>Delete entries</translation>
    </message>
</context>
<context>
    <name>TabRDSRT</name>
    <message>
        <source>RadioText</source>
        <translation>RadioText</translation>
    </message>
    <message>
        <source>beide Texte A und B abwechselnd senden oder
Text A in 2A und Text B in 2B dauerhaft senden</source>
        <translation>send both texts A and B in turn or
send text A in 2A and text B in 2B all the time</translation>
    </message>
    <message>
        <source>Gruppe:</source>
        <translation>Group:</translation>
    </message>
    <message>
        <source>2A (64 Bytes)</source>
        <translation>2A (64 Bytes)</translation>
    </message>
    <message>
        <source>2B (32 Bytes)</source>
        <translation>2B (32 Bytes)</translation>
    </message>
    <message>
        <source>2A+2B</source>
        <translation>2A+2B</translation>
    </message>
    <message>
        <source>sende RT in Gruppe</source>
        <translation>send RT in group</translation>
    </message>
    <message>
        <source>Text A/B Flag ändern</source>
        <translation>Change text A/B flag</translation>
    </message>
    <message>
        <source>Text A/B Bit kippen wenn der Text sich ändert.</source>
        <translation>Toggle the text A/B bit when the text changes.</translation>
    </message>
    <message>
        <source>E.1 (Standard)</source>
        <translation>E.1 (Standard)</translation>
    </message>
    <message>
        <source>UTF-8</source>
        <translation>UTF-8</translation>
    </message>
    <message>
        <source>GB18030</source>
        <translation>GB18030</translation>
    </message>
    <message>
        <source>! ändert auch die Encodierung von PS, PTYN und EON</source>
        <translation>! also changes the encoding of PS, PTYN and EON</translation>
    </message>
    <message>
        <source>BOM</source>
        <translation>BOM</translation>
    </message>
    <message>
        <source>Unicode #FEFF Byte Order Mark voranstellen, wenn möglich</source>
        <translation>Put the Unicode #FEFF byte order mark first, if possible</translation>
    </message>
    <message>
        <source>senden</source>
        <translation>send</translation>
    </message>
    <message>
        <source>Gruppe senden</source>
        <translation>Send group</translation>
    </message>
    <message>
        <source>frei</source>
        <translation>free</translation>
    </message>
    <message>
        <source>mit freien Gruppen auffüllen
es können mehr Gruppen pro Minute gesendet werden</source>
        <translation>fill with free groups
more groups per minute can be sent</translation>
    </message>
    <message>
        <source>Gruppen pro Minute
Pro 2A Gruppe werden 4 E.1 Zeichen (4 Bytes) übertragen.</source>
        <translation>Groups per minute
Each 2A group carries 4 E.1 characters (4 bytes).</translation>
    </message>
    <message>
        <source> x A</source>
        <translation> x A</translation>
    </message>
    <message>
        <source>n-mal Text A senden</source>
        <translation>send text A n times</translation>
    </message>
    <message>
        <source>Input A</source>
        <translation>Input A</translation>
    </message>
    <message>
        <source>Zeichen aus einem Hexcode erzeugen:
#21 -&gt; &apos;!&apos;</source>
        <translation>Make a character from a hex code:
#21 -&gt; &apos;!&apos;</translation>
    </message>
    <message>
        <source>immer mit Endezeichen beenden?
jeder 2A Block hat 4 Zeichen
&apos;AAAA&apos; -&gt; 41414141 (nein)
&apos;AAAA&apos; -&gt; 41414141 0D0D0D0D (ja)
&apos;AA&apos; -&gt; 41410D0D (bei ja und nein)
</source>
        <translation>always end with the end character?
each 2A block has 4 characters
&apos;AAAA&apos; -&gt; 41414141 (no)
&apos;AAAA&apos; -&gt; 41414141 0D0D0D0D (yes)
&apos;AA&apos; -&gt; 41410D0D (with yes and no)
</translation>
    </message>
    <message>
        <source>Text-Endezeichen festlegen</source>
        <translation>Set the text end character</translation>
    </message>
    <message>
        <source> x B</source>
        <translation> x B</translation>
    </message>
    <message>
        <source>n-mal Text B senden</source>
        <translation>send text B n times</translation>
    </message>
    <message>
        <source>Input B</source>
        <translation>Input B</translation>
    </message>
    <message>
        <source>Text B editieren</source>
        <translation>Edit text B</translation>
    </message>
    <message>
        <source>immer mit Endezeichen beenden?</source>
        <translation>always end with the end character?</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>als Hex-Bytes oder Latin1 anzeigen</source>
        <translation>show as hex bytes or Latin1</translation>
    </message>
    <message>
        <source>Anzahl der Bytes von Text A</source>
        <translation>Number of bytes of text A</translation>
    </message>
    <message>
        <source>Anzahl der Bytes von Text B</source>
        <translation>Number of bytes of text B</translation>
    </message>
    <message>
        <source>Text A  -  Zoom with Ctrl + Wheel</source>
        <translation>Text A  -  Zoom with Ctrl + Wheel</translation>
    </message>
    <message>
        <source>decoded Text A</source>
        <translation>decoded Text A</translation>
    </message>
    <message>
        <source>Text B</source>
        <translation>Text B</translation>
    </message>
    <message>
        <source>decoded Text B</source>
        <translation>decoded Text B</translation>
    </message>
    <message>
        <source>Erweiterter RadioText</source>
        <translation>Enhanced RadioText</translation>
    </message>
    <message>
        <source>erweiterten RadioText abwechselnd senden (A/B)</source>
        <translation>send enhanced RadioText in turn (A/B)</translation>
    </message>
    <message>
        <source>5A</source>
        <translation>5A</translation>
    </message>
    <message>
        <source>6A</source>
        <translation>6A</translation>
    </message>
    <message>
        <source>7A</source>
        <translation>7A</translation>
    </message>
    <message>
        <source>9A</source>
        <translation>9A</translation>
    </message>
    <message>
        <source>11A</source>
        <translation>11A</translation>
    </message>
    <message>
        <source>12A</source>
        <translation>12A</translation>
    </message>
    <message>
        <source>13A</source>
        <translation>13A</translation>
    </message>
    <message>
        <source>sende erweiterten RadioText in Gruppe</source>
        <translation>send enhanced RadioText in group</translation>
    </message>
    <message>
        <source>Encodieren als:</source>
        <translation>Encode as:</translation>
    </message>
    <message>
        <source>nur UTF-16LE (UCS-2) und UTF-8 sind im Standard spezifiziert!
Bits in Gruppe 3A entsprechend setzen</source>
        <translation>only UTF-16LE (UCS-2) and UTF-8 are specified in the standard!
set the bits in group 3A to match</translation>
    </message>
    <message>
        <source>Gruppen pro Minute
Pro Gruppe werden 2 UCS Zeichen (4 Bytes) übertragen.</source>
        <translation>Groups per minute
Each group carries 2 UCS characters (4 bytes).</translation>
    </message>
    <message>
        <source>Unicode Zeichen aus Hexcode:
#41 -&gt; &apos;A&apos;
#0041 -&gt; &apos;A&apos;
#03A9 -&gt; &apos;Ω&apos;</source>
        <translation>Unicode character from a hex code:
#41 -&gt; &apos;A&apos;
#0041 -&gt; &apos;A&apos;
#03A9 -&gt; &apos;Ω&apos;</translation>
    </message>
    <message>
        <source>Text-Endezeichen 1x anhängen?
jeder Block hat 4 Bytes

UTF-8 &apos;A&apos;:
&apos;A&apos; -&gt; 41 0D 00 00  (ja)
&apos;A&apos; -&gt; 41 00 00 00  (nein)
&apos;AAAA&apos; -&gt; 41414141 (nein)
&apos;AAAA&apos; -&gt; 41414141 0D000000 (ja)

UCS2-LE:
&apos;AA&apos; -&gt; 4100 4100 (nein)
&apos;AA&apos; -&gt; 4100 4100 0D00 0000 (ja)</source>
        <translation>Append the text end character once?
each block has 4 bytes

UTF-8 &apos;A&apos;:
&apos;A&apos; -&gt; 41 0D 00 00  (yes)
&apos;A&apos; -&gt; 41 00 00 00  (no)
&apos;AAAA&apos; -&gt; 41414141 (no)
&apos;AAAA&apos; -&gt; 41414141 0D000000 (yes)

UCS2-LE:
&apos;AA&apos; -&gt; 4100 4100 (no)
&apos;AA&apos; -&gt; 4100 4100 0D00 0000 (yes)</translation>
    </message>
    <message>
        <source>Text-Endezeichen 1x anhängen?</source>
        <translation>Append the text end character once?</translation>
    </message>
    <message>
        <source>als Hex-Bytes oder Unicode anzeigen</source>
        <translation>show as hex bytes or Unicode</translation>
    </message>
    <message>
        <source>decoded enhanced Text A
Zoom with Ctrl + Wheel</source>
        <translation>decoded enhanced Text A
Zoom with Ctrl + Wheel</translation>
    </message>
    <message>
        <source>decoded enhanced Text B</source>
        <translation>decoded enhanced Text B</translation>
    </message>
    <message>
        <source>Gruppe 3A Erweiterter RadioText</source>
        <translation>Group 3A enhanced RadioText</translation>
    </message>
    <message>
        <source>sende Kennung in Gruppe 3A</source>
        <translation>send the identification in group 3A</translation>
    </message>
    <message>
        <source>AID:</source>
        <translation>AID:</translation>
    </message>
    <message>
        <source>enhanced RadioText AID (6552)</source>
        <translation>enhanced RadioText AID (6552)</translation>
    </message>
    <message>
        <source>Bits:</source>
        <translation>Bits:</translation>
    </message>
    <message>
        <source>enhanced RadioText Zusatzbits</source>
        <translation>enhanced RadioText extra bits</translation>
    </message>
    <message>
        <source>enhanced RadioText Bits
C: code table, text direction, UTF-8</source>
        <translation>enhanced RadioText Bits
C: code table, text direction, UTF-8</translation>
    </message>
    <message>
        <source>RTL Textrichtung</source>
        <translation>RTL text direction</translation>
    </message>
    <message>
        <source>Textrichtung: Rechts nach Links
z.B. für arabisch</source>
        <translation>Text direction: right to left
e.g. for Arabic</translation>
    </message>
    <message>
        <source>Gruppe 3A RadioText+</source>
        <translation>Group 3A RadioText+</translation>
    </message>
    <message>
        <source>RadioText+ AID (4BD7)</source>
        <translation>RadioText+ AID (4BD7)</translation>
    </message>
    <message>
        <source>RadioText+ Zusatzbits</source>
        <translation>RadioText+ extra bits</translation>
    </message>
    <message>
        <source>RadioText+ Bits
C: RT/eRT flag, CB flag, SCB, Vorlage Nummer</source>
        <translation>RadioText+ bits
C: RT/eRT flag, CB flag, SCB, template number</translation>
    </message>
    <message>
        <source>RT+ gilt für eRT</source>
        <translation>RT+ applies to eRT</translation>
    </message>
    <message>
        <source>setzt das RT/eRT Flag auf 1 (Bit 13 in Gruppe 3A Block C)</source>
        <translation>sets the RT/eRT flag to 1 (bit 13 in group 3A block C)</translation>
    </message>
    <message>
        <source>sende RadioText+ Tags</source>
        <translation>send RadioText+ tags</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>sende in Gruppe</source>
        <translation>send in group</translation>
    </message>
    <message>
        <source>Gruppen pro Minute</source>
        <translation>Groups per minute</translation>
    </message>
    <message>
        <source>Tag aus Audiodatei</source>
        <translation>Tag from audio file</translation>
    </message>
    <message>
        <source>Verwende ID3 Tags aus der aktuell abgespielten Audiodatei</source>
        <translation>Use the ID3 tags of the audio file now playing</translation>
    </message>
    <message>
        <source>Item toggle bit</source>
        <translation>Item toggle bit</translation>
    </message>
    <message>
        <source>Item running bit</source>
        <translation>Item running bit</translation>
    </message>
    <message>
        <source>Tag hinzufügen</source>
        <translation>Add tag</translation>
    </message>
    <message>
        <source>Tag entfernen</source>
        <translation>Remove tag</translation>
    </message>
</context>
<context>
    <name>TabRDSUI</name>
    <message>
        <source>RDS Quellen</source>
        <translation>RDS sources</translation>
    </message>
    <message>
        <source>Quelle</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Quelle hinzufügen</source>
        <translation>Add source</translation>
    </message>
    <message>
        <source>Quelle löschen</source>
        <translation>Delete source</translation>
    </message>
    <message>
        <source>Grundeinstellungen</source>
        <translation>Basic settings</translation>
    </message>
    <message>
        <source>Alternative Frequenzen</source>
        <translation>Alternative frequencies</translation>
    </message>
    <message>
        <source>RadioText</source>
        <translation>RadioText</translation>
    </message>
    <message>
        <source>RDS2 &amp;&amp; ODA</source>
        <translation>RDS2 &amp;&amp; ODA</translation>
    </message>
    <message>
        <source>Log Dateien</source>
        <translation>Log files</translation>
    </message>
    <message>
        <source>RDS-Log Dateien nacheinander abspielen:</source>
        <translation>Play RDS log files one after another:</translation>
    </message>
    <message>
        <source>RDS direkt aus den Dateien abspielen
alle anderen Einstellungen haben keine Wirkung</source>
        <translation>Play RDS straight from the files
all other settings have no effect</translation>
    </message>
    <message>
        <source>Dateien hinzufügen</source>
        <translation>Add files</translation>
    </message>
    <message>
        <source>Zeilen löschen</source>
        <translation>Delete rows</translation>
    </message>
    <message>
        <source>RDS-Log Vorschau</source>
        <translation>RDS log preview</translation>
    </message>
    <message>
        <source>Paket Statistik</source>
        <translation>Group statistics</translation>
    </message>
    <message>
        <source>Paketzähler</source>
        <translation>Group counter</translation>
    </message>
    <message>
        <source>zeige Paketzähler für Kanal</source>
        <translation>show the group counter of channel</translation>
    </message>
    <message>
        <source>Statistik für gewählten Kanal neu starten</source>
        <translation>Restart the statistics of the chosen channel</translation>
    </message>
    <message>
        <source>Stream0</source>
        <translation>Stream0</translation>
    </message>
    <message>
        <source>Stream0 zeigen</source>
        <translation>Show stream0</translation>
    </message>
    <message>
        <source>Stream1</source>
        <translation>Stream1</translation>
    </message>
    <message>
        <source>Stream1 zeigen</source>
        <translation>Show stream1</translation>
    </message>
    <message>
        <source>Stream2</source>
        <translation>Stream2</translation>
    </message>
    <message>
        <source>Stream2 zeigen</source>
        <translation>Show stream2</translation>
    </message>
    <message>
        <source>Stream3</source>
        <translation>Stream3</translation>
    </message>
    <message>
        <source>Stream3 zeigen</source>
        <translation>Show stream3</translation>
    </message>
    <message>
        <source>#S</source>
        <translation>#S</translation>
    </message>
    <message>
        <source>Stream #0-3 anzeigen</source>
        <translation>Show stream #0-3</translation>
    </message>
    <message>
        <source>Gruppen auswählen um den Log zu filtern</source>
        <translation>Choose groups to filter the log</translation>
    </message>
    <message>
        <source>Zeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Sendezeit anzeigen</source>
        <translation>Show the send time</translation>
    </message>
    <message>
        <source>Raw</source>
        <translation>Raw</translation>
    </message>
    <message>
        <source>Rawdaten anzeigen (13 Bytes Stream)</source>
        <translation>Show raw data (13-byte stream)</translation>
    </message>
    <message>
        <source>Gruppe</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>Gruppe anzeigen</source>
        <translation>Show the group</translation>
    </message>
    <message>
        <source>TP TA</source>
        <translation>TP TA</translation>
    </message>
    <message>
        <source>Traffic Program, Traffic Announcement, Music/Speech Bits anzeigen</source>
        <translation>Show the Traffic Program, Traffic Announcement and Music/Speech bits</translation>
    </message>
    <message>
        <source>PTY</source>
        <translation>PTY</translation>
    </message>
    <message>
        <source>Program Type anzeigen</source>
        <translation>Show the Program Type</translation>
    </message>
    <message>
        <source>Decode</source>
        <translation>Decode</translation>
    </message>
    <message>
        <source>Decoder Information anzeigen (Gruppen 0 &amp; 15B):
x00 Mono/Stereo
x01 Kunstkopf
x10 Komprimiert
x11 dynamisches PTY</source>
        <translation>Show the decoder information (groups 0 &amp; 15B):
x00 mono/stereo
x01 artificial head
x10 compressed
x11 dynamic PTY</translation>
    </message>
    <message>
        <source>*CW</source>
        <translation>*CW</translation>
    </message>
    <message>
        <source>Checkword-Fehler mit * markieren</source>
        <translation>Mark checkword errors with *</translation>
    </message>
    <message>
        <source>Speichern</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Log speichern</source>
        <translation>Save log</translation>
    </message>
    <message>
        <source>RDS-Log (gesendet)</source>
        <translation>RDS log (sent)</translation>
    </message>
    <message>
        <source>dekodierte Daten</source>
        <translation>decoded data</translation>
    </message>
    <message>
        <source>TP</source>
        <translation>TP</translation>
    </message>
    <message>
        <source>Traffic Program</source>
        <translation>Traffic Program</translation>
    </message>
    <message>
        <source>TA</source>
        <translation>TA</translation>
    </message>
    <message>
        <source>Traffic Announcement</source>
        <translation>Traffic Announcement</translation>
    </message>
    <message>
        <source>Decoder Bits</source>
        <translation>Decoder Bits</translation>
    </message>
    <message>
        <source>PI-Code: Program Identification</source>
        <translation>PI-Code: Program Identification</translation>
    </message>
    <message>
        <source>PTY: Program Type</source>
        <translation>PTY: Program Type</translation>
    </message>
    <message>
        <source>PTY Name Gruppe 10A</source>
        <translation>PTY name group 10A</translation>
    </message>
    <message>
        <source>PS: Program Service Name</source>
        <translation>PS: Program Service Name</translation>
    </message>
    <message>
        <source>LPS: Long PS</source>
        <translation>LPS: Long PS</translation>
    </message>
    <message>
        <source>Alternative Frequencies</source>
        <translation>Alternative Frequencies</translation>
    </message>
    <message>
        <source>RT</source>
        <translation>RT</translation>
    </message>
    <message>
        <source>zeige RadioText
zweimal klicken für Hexwerte</source>
        <translation>show RadioText
click twice for hex values</translation>
    </message>
    <message>
        <source>eRT</source>
        <translation>eRT</translation>
    </message>
    <message>
        <source>zeige erweiterten RadioText
zweimal klicken für Hexwerte</source>
        <translation>show enhanced RadioText
click twice for hex values</translation>
    </message>
    <message>
        <source>RT+</source>
        <translation>RT+</translation>
    </message>
    <message>
        <source>zeige RadioText+ Tags</source>
        <translation>show RadioText+ tags</translation>
    </message>
    <message>
        <source>E.1 (Standard)</source>
        <translation>E.1 (Standard)</translation>
    </message>
    <message>
        <source>UTF-8</source>
        <translation>UTF-8</translation>
    </message>
    <message>
        <source>GB18030</source>
        <translation>GB18030</translation>
    </message>
    <message>
        <source>Decode RadioText, PTYN, PS and LPS</source>
        <translation>Decode RadioText, PTYN, PS and LPS</translation>
    </message>
    <message>
        <source>Zoom with Ctrl + Mouse Wheel</source>
        <translation>Zoom with Ctrl + Mouse Wheel</translation>
    </message>
    <message>
        <source>Log-Dateien, der Reihe nach gespielt:</source>
        <translation>Log files, played in this order:</translation>
    </message>
    <message>
        <source>Vorschau der gewählten Datei:</source>
        <translation>Preview of the selected file:</translation>
    </message>
</context>
<context>
    <name>TabTMC</name>
    <message>
        <source>Name der %1. TMC Quelle</source>
        <translation>Name of TMC source %1</translation>
    </message>
    <message>
        <source>Meldungen löschen?</source>
        <translation>Delete messages?</translation>
    </message>
    <message>
        <source>%1 Meldungen löschen?</source>
        <translation>Delete %1 messages?</translation>
    </message>
    <message>
        <source>Labels löschen?</source>
        <translation>Delete labels?</translation>
    </message>
    <message>
        <source>%1 Labels löschen?</source>
        <translation>Delete %1 labels?</translation>
    </message>
    <message>
        <source>TMC-Referenzlisten nicht gefunden: im Ordner %1 fehlt %2. Ohne diese Listen zeigen Ereignisse und Orte nur ihre Codes, und die Suche findet nichts.</source>
        <translation>TMC reference lists not found: the folder %1 lacks %2. Without these lists events and locations show only their codes, and the search finds nothing.</translation>
    </message>
</context>
<context>
    <name>TabTMCUI</name>
    <message>
        <source>TMC Quellen</source>
        <translation>TMC sources</translation>
    </message>
    <message>
        <source>Quelle</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Quelle hinzufügen</source>
        <translation>Add source</translation>
    </message>
    <message>
        <source>Quelle löschen</source>
        <translation>Delete source</translation>
    </message>
    <message>
        <source>Gruppe 3A (System Information)</source>
        <translation>Group 3A (System Information)</translation>
    </message>
    <message>
        <source>Bits in Gruppe 3A festlegen</source>
        <translation>Set the bits of group 3A</translation>
    </message>
    <message>
        <source>Variante 0:</source>
        <translation>Variant 0:</translation>
    </message>
    <message>
        <source>Variant Code 0 senden</source>
        <translation>Send variant code 0</translation>
    </message>
    <message>
        <source>LTN AFI Mode Region Bits</source>
        <translation>LTN AFI Mode Region Bits</translation>
    </message>
    <message>
        <source>LTN:</source>
        <translation>LTN:</translation>
    </message>
    <message>
        <source>Location Table Number</source>
        <translation>Location Table Number</translation>
    </message>
    <message>
        <source>AFI</source>
        <translation>AFI</translation>
    </message>
    <message>
        <source>Alternative Frequency Indicator</source>
        <translation>Alternative Frequency Indicator</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>0 aus: LTCC senden
1 an: Zeitrad aktivieren (Ta, Tw und Td) - obsolete</source>
        <translation>0 off: send LTCC
1 on: enable the time wheel (Ta, Tw and Td) - obsolete</translation>
    </message>
    <message>
        <source>International</source>
        <translation>International</translation>
    </message>
    <message>
        <source>National</source>
        <translation>National</translation>
    </message>
    <message>
        <source>Regional</source>
        <translation>Regional</translation>
    </message>
    <message>
        <source>Urban</source>
        <translation>Urban</translation>
    </message>
    <message>
        <source>Variante 1:</source>
        <translation>Variant 1:</translation>
    </message>
    <message>
        <source>Variant Code 1 senden</source>
        <translation>Send variant code 1</translation>
    </message>
    <message>
        <source>SID and
Mode 0: LTCC
Mode 1: Ta Td Tw</source>
        <translation>SID and
Mode 0: LTCC
Mode 1: Ta Td Tw</translation>
    </message>
    <message>
        <source>SID:</source>
        <translation>SID:</translation>
    </message>
    <message>
        <source>Service Identifier</source>
        <translation>Service Identifier</translation>
    </message>
    <message>
        <source>LTCC:</source>
        <translation>LTCC:</translation>
    </message>
    <message>
        <source>Location Table Country Code (Mode=0)</source>
        <translation>Location Table Country Code (Mode=0)</translation>
    </message>
    <message>
        <source>Location Table Country Code (bei Mode = 0)
meist identisch mit PI CC, Germany = D oder 1</source>
        <translation>Location Table Country Code (with Mode = 0)
mostly the same as the PI CC, Germany = D or 1</translation>
    </message>
    <message>
        <source>Ta:</source>
        <translation>Ta:</translation>
    </message>
    <message>
        <source>Aktive Zeit</source>
        <translation>Active time</translation>
    </message>
    <message>
        <source>1s</source>
        <translation>1s</translation>
    </message>
    <message>
        <source>2s</source>
        <translation>2s</translation>
    </message>
    <message>
        <source>4s</source>
        <translation>4s</translation>
    </message>
    <message>
        <source>8s</source>
        <translation>8s</translation>
    </message>
    <message>
        <source>Tw:</source>
        <translation>Tw:</translation>
    </message>
    <message>
        <source>Window Zeit</source>
        <translation>Window time</translation>
    </message>
    <message>
        <source>Td:</source>
        <translation>Td:</translation>
    </message>
    <message>
        <source>Delay Zeit</source>
        <translation>Delay time</translation>
    </message>
    <message>
        <source>0s</source>
        <translation>0s</translation>
    </message>
    <message>
        <source>3s</source>
        <translation>3s</translation>
    </message>
    <message>
        <source>GAP:</source>
        <translation>GAP:</translation>
    </message>
    <message>
        <source>minimale Anzahl anderer Gruppen zwischen zwei TMC 8A-Gruppen</source>
        <translation>minimum number of other groups between two TMC 8A groups</translation>
    </message>
    <message>
        <source>3: max 171 G/min</source>
        <translation>3: max 171 G/min</translation>
    </message>
    <message>
        <source>5: max 114 G/min</source>
        <translation>5: max 114 G/min</translation>
    </message>
    <message>
        <source>8: max 76 G/min</source>
        <translation>8: max 76 G/min</translation>
    </message>
    <message>
        <source>11: max 57 G/min</source>
        <translation>11: max 57 G/min</translation>
    </message>
    <message>
        <source>Variante 2:</source>
        <translation>Variant 2:</translation>
    </message>
    <message>
        <source>Variant Code 2 senden</source>
        <translation>Send variant code 2</translation>
    </message>
    <message>
        <source>LTECC</source>
        <translation>LTECC</translation>
    </message>
    <message>
        <source>AID:</source>
        <translation>AID:</translation>
    </message>
    <message>
        <source>TMC AID Kennung (meist CD46)</source>
        <translation>TMC AID identifier (mostly CD46)</translation>
    </message>
    <message>
        <source>ECC:</source>
        <translation>ECC:</translation>
    </message>
    <message>
        <source>Location Table Extended Country Code</source>
        <translation>Location Table Extended Country Code</translation>
    </message>
    <message>
        <source>Location Table Extended Country Code
Germany = E0</source>
        <translation>Location Table Extended Country Code
Germany = E0</translation>
    </message>
    <message>
        <source>Variante 3:</source>
        <translation>Variant 3:</translation>
    </message>
    <message>
        <source>Variant Code 3 senden</source>
        <translation>Send variant code 3</translation>
    </message>
    <message>
        <source>sofort wiederholen</source>
        <translation>repeat at once</translation>
    </message>
    <message>
        <source>jede Meldung n-mal sofort wiederholen</source>
        <translation>repeat every message n times at once</translation>
    </message>
    <message>
        <source>x</source>
        <translation>x</translation>
    </message>
    <message>
        <source>Gruppe 8A (Tuning Information)</source>
        <translation>Group 8A (Tuning Information)</translation>
    </message>
    <message>
        <source>Gruppe 8A Tuning Information</source>
        <translation>Group 8A Tuning Information</translation>
    </message>
    <message>
        <source>SPN:</source>
        <translation>SPN:</translation>
    </message>
    <message>
        <source>Service Provider Name</source>
        <translation>Service Provider Name</translation>
    </message>
    <message>
        <source>Service Provider Name (8 Bytes, Varianten 4 und 5)</source>
        <translation>Service Provider Name (8 bytes, variants 4 and 5)</translation>
    </message>
    <message>
        <source>Verschlüsselung (TMCpro)</source>
        <translation>Encryption (TMCpro)</translation>
    </message>
    <message>
        <source>Ort/Location verschlüsseln nach 14819-6</source>
        <translation>Encrypt the location after 14819-6</translation>
    </message>
    <message>
        <source>ENCID:</source>
        <translation>ENCID:</translation>
    </message>
    <message>
        <source>Rotate/Shift/Xor:</source>
        <translation>Rotate/Shift/Xor:</translation>
    </message>
    <message>
        <source>Service Key für ENCID festlegen</source>
        <translation>Set the service key of the ENCID</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>Xor</source>
        <translation>Xor</translation>
    </message>
    <message>
        <source>alle n Sekunden:</source>
        <translation>every n seconds:</translation>
    </message>
    <message>
        <source>sende alle n Sekunden</source>
        <translation>send every n seconds</translation>
    </message>
    <message>
        <source>Verkehrsmeldungen</source>
        <translation>Traffic messages</translation>
    </message>
    <message>
        <source>Meldung </source>
        <translation>Message </translation>
    </message>
    <message>
        <source>Verkehrsmeldung hinzufügen</source>
        <translation>Add traffic message</translation>
    </message>
    <message>
        <source>Entfernen </source>
        <translation>Remove </translation>
    </message>
    <message>
        <source>Verkehrsmeldung löschen</source>
        <translation>Delete traffic message</translation>
    </message>
    <message>
        <source>Meldung bearbeiten</source>
        <translation>Edit message</translation>
    </message>
    <message>
        <source>Dauer:</source>
        <translation>Duration:</translation>
    </message>
    <message>
        <source>Dauer festlegen</source>
        <translation>Set the duration</translation>
    </message>
    <message>
        <source>Ausmaß:</source>
        <translation>Extent:</translation>
    </message>
    <message>
        <source>Außmaß festlegen</source>
        <translation>Set the extent</translation>
    </message>
    <message>
        <source>Ereignis</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>Ort</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Richtung</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Richtungsbit setzen</source>
        <translation>Set the direction bit</translation>
    </message>
    <message>
        <source>Umleiten</source>
        <translation>Diversion</translation>
    </message>
    <message>
        <source>Umleitung empfohlen wenn gesetzt</source>
        <translation>Diversion advised when set</translation>
    </message>
    <message>
        <source>Ereignisinfo</source>
        <translation>Event information</translation>
    </message>
    <message>
        <source>Ortsinfo</source>
        <translation>Location information</translation>
    </message>
    <message>
        <source>Multigroup Zusatzinfos</source>
        <translation>Multi-group optional content</translation>
    </message>
    <message>
        <source>Label</source>
        <translation>Label</translation>
    </message>
</context>
<context>
    <name>UnlockUI</name>
    <message>
        <source>Bereits verbunden!</source>
        <translation>Already connected!</translation>
    </message>
    <message>
        <source>gewählte Modulatoren verbinden</source>
        <translation>connect the chosen modulators</translation>
    </message>
    <message>
        <source>&amp;Verbindung kapern!</source>
        <translation>&amp;Take over the connection!</translation>
    </message>
    <message>
        <source>&amp;Nicht verbinden</source>
        <translation>&amp;Do not connect</translation>
    </message>
</context>
<context>
    <name>UpdaterUI</name>
    <message>
        <source>Quorvin Generator Update</source>
        <translation>Quorvin Generator Update</translation>
    </message>
    <message>
        <source>&lt;p&gt;Bitte besuchen Sie die Quorvin Homepage in Ihrem Browser. Dort finden Sie die neuste Version der Generator Software.&lt;/p&gt;&lt;p&gt;&lt;a href=&quot;https://quorvin.example/&quot;&gt;https://quorvin.example/&lt;/a&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;Please visit the Quorvin home page in your browser. There you will find the latest version of the generator software.&lt;/p&gt;&lt;p&gt;&lt;a href=&quot;https://quorvin.example/&quot;&gt;https://quorvin.example/&lt;/a&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Quorvin Homepage öffnen</source>
        <translation>Open Quorvin home page</translation>
    </message>
</context>
<context>
    <name>WavDecoder</name>
    <message>
        <source>Kann nicht geöffnet werden</source>
        <translation>Cannot be opened</translation>
    </message>
    <message>
        <source>hat keinen RIFF Header</source>
        <translation>has no RIFF header</translation>
    </message>
    <message>
        <source>ist kein [WAVE] Format</source>
        <translation>is not in [WAVE] format</translation>
    </message>
    <message>
        <source>Audio Datenblock nicht gefunden</source>
        <translation>Audio data chunk not found</translation>
    </message>
    <message>
        <source>Format Info nicht gefunden</source>
        <translation>Format info not found</translation>
    </message>
    <message>
        <source>Format Länge %1 != 16</source>
        <translation>Format length %1 != 16</translation>
    </message>
    <message>
        <source>kein PCM Format %1</source>
        <translation>no PCM format %1</translation>
    </message>
    <message>
        <source>bits pro Sample %1 != 16</source>
        <translation>bits per sample %1 != 16</translation>
    </message>
    <message>
        <source>Kanalzahl %1 nicht unterstützt</source>
        <translation>channel count %1 not supported</translation>
    </message>
    <message>
        <source>Abtastrate %1 nicht unterstützt</source>
        <translation>sample rate %1 not supported</translation>
    </message>
</context>
</TS>
