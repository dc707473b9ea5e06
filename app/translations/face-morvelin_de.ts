<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>Morvelin</name>
    <message>
        <source>About</source>
        <translatorcomment>Link at the top right of the main window.</translatorcomment>
        <translation>Über</translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translatorcomment>Link left of About.</translatorcomment>
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <source>Look in:</source>
        <translatorcomment>Heading over the folder picker.</translatorcomment>
        <translation>Suchen in:</translation>
    </message>
    <message>
        <source>Search this face:</source>
        <translatorcomment>Heading over the chosen face.</translatorcomment>
        <translation>Dieses Gesicht suchen:</translation>
    </message>
    <message>
        <source>Choose the face to search...</source>
        <translatorcomment>Prompt and window title while no face is chosen.</translatorcomment>
        <translation>Wählen Sie das zu suchende Gesicht...</translation>
    </message>
    <message>
        <source>At most %1 faces can be chosen.</source>
        <translatorcomment>Status line after a Ctrl-click on one face too many in the gallery; %1 is the number.</translatorcomment>
        <translation>Es können höchstens %1 Gesichter gewählt werden.</translation>
    </message>
    <message>
        <source>Select a photo with a face to search...</source>
        <translatorcomment>Button in the middle of the gallery.</translatorcomment>
        <translation>Foto mit dem zu suchenden Gesicht auswählen...</translation>
    </message>
    <message>
        <source>Select a photo...</source>
        <translatorcomment>Link left of "Check for updates": opens the photo dialog whatever the gallery shows.</translatorcomment>
        <translation>Foto auswählen...</translation>
    </message>
    <message>
        <source>Sub-directories search</source>
        <translatorcomment>Check box under the folder picker.</translatorcomment>
        <translation>Unterordner durchsuchen</translation>
    </message>
    <message>
        <source>Compare facial features (more accurate)</source>
        <translatorcomment>Check box under "Sub-directories search".</translatorcomment>
        <translation>Gesichtsmerkmale vergleichen (genauer)</translation>
    </message>
    <message>
        <source>Compares the faces by the features a face recognition model reads from them, so the same person is found under other light and framing. Unchecked, faces are compared as 48 x 48 brightness grids.</source>
        <translatorcomment>Tooltip of the check box "Compare facial features (more accurate)".</translatorcomment>
        <translation>Vergleicht die Gesichter anhand der Merkmale, die ein Gesichtserkennungsmodell aus ihnen liest, sodass dieselbe Person auch bei anderem Licht und Bildausschnitt gefunden wird. Ohne Haken werden die Gesichter als Helligkeitsraster von 48 x 48 verglichen.</translation>
    </message>
    <message>
        <source>Not available: the facial-features model cannot be used.</source>
        <translatorcomment>Tooltip of the disabled check box; the technical reason follows on the next line.</translatorcomment>
        <translation>Nicht verfügbar: Das Modell für Gesichtsmerkmale kann nicht verwendet werden.</translation>
    </message>
    <message>
        <source>The facial-features model cannot be used: faces are compared as brightness grids.</source>
        <translatorcomment>Status line of the main window when searches fall back from the facial-features matcher.</translatorcomment>
        <translation>Das Modell für Gesichtsmerkmale kann nicht verwendet werden: Die Gesichter werden als Helligkeitsraster verglichen.</translation>
    </message>
    <message>
        <source>Search</source>
        <translatorcomment>Button that starts the search.</translatorcomment>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translatorcomment>Button that stops the search.</translatorcomment>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Exit</source>
        <translatorcomment>Tray menu entry.</translatorcomment>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Search for faces on screen</source>
        <translatorcomment>Tray menu entry.</translatorcomment>
        <translation>Gesichter auf dem Bildschirm suchen</translation>
    </message>
    <message>
        <source>Forget scanned photos</source>
        <translatorcomment>Tray menu entry: empties the face index.</translatorcomment>
        <translation>Gescannte Fotos vergessen</translation>
    </message>
    <message>
        <source>Forget what the earlier searches found in your photos? The next search scans every photo again.</source>
        <translation>Vergessen, was die bisherigen Suchen in Ihren Fotos gefunden haben? Die nächste Suche liest jedes Foto neu.</translation>
    </message>
    <message>
        <source>photos answered from the face index.</source>
        <translatorcomment>Status line after a search, behind a number.</translatorcomment>
        <translation>Fotos aus dem Gesichterverzeichnis beantwortet.</translation>
    </message>
    <message>
        <source>Version</source>
        <translatorcomment>Shown as: Version 1.04 Build: 12</translatorcomment>
        <translation>Version</translation>
    </message>
    <message>
        <source>Build:</source>
        <translatorcomment>Shown as: Version 1.04 Build: 12</translatorcomment>
        <translation>Build:</translation>
    </message>
    <message>
        <source>Looking for human faces...</source>
        <translatorcomment>Window title while faces are detected.</translatorcomment>
        <translation>Suche nach menschlichen Gesichtern...</translation>
    </message>
    <message>
        <source>Recognized faces: </source>
        <translatorcomment>Followed directly by the number of faces; keep the trailing space.</translatorcomment>
        <translation>Erkannte Gesichter: </translation>
    </message>
    <message>
        <source>No faces found</source>
        <translatorcomment>Window title when the picture has no face.</translatorcomment>
        <translation>Keine Gesichter gefunden</translation>
    </message>
    <message>
        <source>Choose the image file</source>
        <translatorcomment>Title of the open-file dialog.</translatorcomment>
        <translation>Bilddatei auswählen</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translatorcomment>A file type of the open-file dialog; %1 is the type&apos;s name (Jpeg, TIFF, HEIC...).</translatorcomment>
        <translation>%1-Dateien</translation>
    </message>
    <message>
        <source>Choose folder</source>
        <translatorcomment>Title of the folder dialog.</translatorcomment>
        <translation>Ordner auswählen</translation>
    </message>
    <message>
        <source>Searching</source>
        <translatorcomment>Window title during a search.</translatorcomment>
        <translation>Suche läuft</translation>
    </message>
    <message>
        <source>is searching for faces in your image files...</source>
        <translatorcomment>Shown as: Face Morvelin is searching for faces in your image files...</translatorcomment>
        <translation>sucht in Ihren Bilddateien nach Gesichtern...</translation>
    </message>
    <message>
        <source>Searching...</source>
        <translatorcomment>Status line at the start of a search.</translatorcomment>
        <translation>Suche läuft...</translation>
    </message>
    <message>
        <source>No files found.</source>
        <translatorcomment>Status line after a search without matches.</translatorcomment>
        <translation>Keine Dateien gefunden.</translation>
    </message>
    <message>
        <source>Copyright © The Face Morvelin developers</source>
        <translatorcomment>The legal notice under the gallery.</translatorcomment>
        <translation>Copyright © Die Entwickler von Face Morvelin</translation>
    </message>
    <message>
        <source>Face search software</source>
        <translatorcomment>Subtitle after a search.</translatorcomment>
        <translation>Software zur Gesichtssuche</translation>
    </message>
    <message>
        <source>Found</source>
        <translatorcomment>Shown as: Found 3 so far.</translatorcomment>
        <translation>Bisher</translation>
    </message>
    <message>
        <source>so far.</source>
        <translatorcomment>Shown as: Found 3 so far.</translatorcomment>
        <translation>gefunden.</translation>
    </message>
    <message>
        <source>Filename</source>
        <translatorcomment>Column of the result list.</translatorcomment>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>In Folder</source>
        <translatorcomment>Column of the result list.</translatorcomment>
        <translation>Im Ordner</translation>
    </message>
    <message>
        <source>Score</source>
        <translatorcomment>Column of the result list.</translatorcomment>
        <translation>Wertung</translation>
    </message>
    <message>
        <source>Source</source>
        <translatorcomment>Caption under the face searched for.</translatorcomment>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Target</source>
        <translatorcomment>Caption under the face found in the photo.</translatorcomment>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Face Search</source>
        <translatorcomment>Title of the photo scan window.</translatorcomment>
        <translation>Gesichtssuche</translation>
    </message>
    <message>
        <source>Loading</source>
        <translatorcomment>Shown as: Loading /home/anna/Photos/a.jpg</translatorcomment>
        <translation>Lade</translation>
    </message>
    <message>
        <source>Applying filter...</source>
        <translatorcomment>Status of the photo scan window.</translatorcomment>
        <translation>Filter wird angewendet...</translation>
    </message>
    <message>
        <source>Detecting Faces...</source>
        <translatorcomment>Status of the photo scan window.</translatorcomment>
        <translation>Gesichter werden erkannt...</translation>
    </message>
    <message>
        <source>Comparing faces...</source>
        <translatorcomment>Status of the photo scan window.</translatorcomment>
        <translation>Gesichter werden verglichen...</translation>
    </message>
    <message>
        <source>Completed.</source>
        <translatorcomment>Status of the photo scan window.</translatorcomment>
        <translation>Abgeschlossen.</translation>
    </message>
    <message>
        <source>Face:</source>
        <translatorcomment>Shown as: Face: 2</translatorcomment>
        <translation>Gesicht:</translation>
    </message>
    <message>
        <source>Application already running...</source>
        <translatorcomment>First line of the message at a second start.</translatorcomment>
        <translation>Die Anwendung läuft bereits...</translation>
    </message>
    <message>
        <source>Press F12 or click on the system tray icon</source>
        <translatorcomment>Second line of the message at a second start.</translatorcomment>
        <translation>Drücken Sie F12 oder klicken Sie auf das Symbol im Infobereich</translation>
    </message>
    <message>
        <source>Welcome!</source>
        <translatorcomment>Heading of the welcome window.</translatorcomment>
        <translation>Willkommen!</translation>
    </message>
    <message>
        <source>Please note:</source>
        <translatorcomment>Heading of the welcome window's note.</translatorcomment>
        <translation>Bitte beachten Sie:</translation>
    </message>
    <message>
        <source>Show this window everytime this software starts.</source>
        <translatorcomment>Check box of the welcome window.</translatorcomment>
        <translation>Dieses Fenster bei jedem Start der Software anzeigen.</translation>
    </message>
    <message>
        <source>Welcome to </source>
        <translatorcomment>Followed by the program's name and the next sentence; keep the trailing space.</translatorcomment>
        <translation>Willkommen bei </translation>
    </message>
    <message>
        <source>to start using face search features, press F12 or click on system tray icon when you have faces on screen. This software will capture and detect all faces on screen at that time.</source>
        <translatorcomment>Follows: Welcome to Face Morvelin</translatorcomment>
        <translation>– um die Gesichtssuche zu starten, drücken Sie F12 oder klicken Sie auf das Symbol im Infobereich, während Gesichter auf dem Bildschirm zu sehen sind. Die Software erfasst dann alle Gesichter, die in diesem Moment auf dem Bildschirm sind.</translation>
    </message>
    <message>
        <source>This is the first face search software in the world.</source>
        <translatorcomment>Welcome window, first line.</translatorcomment>
        <translation>Dies ist die erste Software zur Gesichtssuche der Welt.</translation>
    </message>
    <message>
        <source>This software is based on Artificial Intelligence algorithms to detect and compare human faces. Face morvelin permit to search faces in your photo archive. </source>
        <translatorcomment>Welcome window, second line; keep the trailing space.</translatorcomment>
        <translation>Diese Software erkennt und vergleicht menschliche Gesichter mit Algorithmen der künstlichen Intelligenz. Mit Face Morvelin durchsuchen Sie Ihr Fotoarchiv nach Gesichtern. </translation>
    </message>
    <message>
        <source>This is NOT a 100% accurate procedure, as you know there is a lot of factors that can give false positives. (Example: glasses, angle of the photo...)</source>
        <translatorcomment>Welcome window, note on accuracy.</translatorcomment>
        <translation>Dieses Verfahren ist NICHT zu 100 % genau, denn viele Umstände können zu falschen Treffern führen. (Beispiel: Brillen, Aufnahmewinkel des Fotos...)</translation>
    </message>
    <message>
        <source>Desktop</source>
        <translatorcomment>Entry of the folder picker.</translatorcomment>
        <translation>Schreibtisch</translation>
    </message>
    <message>
        <source>My Documents</source>
        <translatorcomment>Entry of the folder picker.</translatorcomment>
        <translation>Eigene Dokumente</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translatorcomment>Entry of the folder picker.</translatorcomment>
        <translation>Dieser Rechner</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translatorcomment>Last entry of the folder picker; opens the folder dialog.</translatorcomment>
        <translation>Durchsuchen...</translation>
    </message>
</context>
</TS>
