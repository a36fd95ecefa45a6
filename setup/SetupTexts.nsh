; The setup's own texts in the languages of the program's, each page's
; and each question's; NSIS brings the translations of its standard pages
; (MUI_LANGUAGE in dorvane.nsi) and shows the language of Windows where it
; has it, English elsewhere. The record of what the setup does (/LOG=) stays
; English, for the administrator who reads it.

LangString WelcomeText ${LANG_ENGLISH} "Setup will install ${PRODUCT} ${VERSION} on your computer.$\r$\n$\r$\n${PRODUCT} sits in the notification area and, whenever Windows is about to end, warns you of a disk still in drive A:.$\r$\n$\r$\nIf ${PRODUCT} is running, setup ends it before it replaces its files.$\r$\n$\r$\n$_CLICK"
LangString WelcomeText ${LANG_GERMAN} "Dieser Assistent installiert ${PRODUCT} ${VERSION} auf Ihrem Computer.$\r$\n$\r$\n${PRODUCT} sitzt im Infobereich der Taskleiste und warnt Sie, sobald Windows beendet wird, vor einem Datenträger, der noch in Laufwerk A: steckt.$\r$\n$\r$\nLäuft ${PRODUCT} gerade, beendet der Assistent es, bevor er seine Dateien ersetzt.$\r$\n$\r$\n$_CLICK"
LangString WelcomeText ${LANG_FRENCH} "Cet assistant va installer ${PRODUCT} ${VERSION} sur votre ordinateur.$\r$\n$\r$\n${PRODUCT} se tient dans la zone de notification et, chaque fois que Windows va s'arrêter, vous avertit d'un disque resté dans le lecteur A:.$\r$\n$\r$\nSi ${PRODUCT} est en cours d'exécution, l'assistant le ferme avant de remplacer ses fichiers.$\r$\n$\r$\n$_CLICK"
LangString WelcomeText ${LANG_SPANISH} "Este asistente instalará ${PRODUCT} ${VERSION} en su equipo.$\r$\n$\r$\n${PRODUCT} se coloca en el área de notificación y, cada vez que Windows va a cerrarse, le avisa de un disco que sigue en la unidad A:.$\r$\n$\r$\nSi ${PRODUCT} se está ejecutando, el asistente lo cierra antes de reemplazar sus archivos.$\r$\n$\r$\n$_CLICK"
LangString WelcomeText ${LANG_POLISH} "Ten kreator zainstaluje program ${PRODUCT} ${VERSION} na tym komputerze.$\r$\n$\r$\n${PRODUCT} działa w obszarze powiadomień i za każdym razem, gdy system Windows ma się zamknąć, ostrzega o dysku pozostawionym w napędzie A:.$\r$\n$\r$\nJeśli program ${PRODUCT} jest uruchomiony, kreator zamknie go przed zastąpieniem jego plików.$\r$\n$\r$\n$_CLICK"

LangString StartupTitle ${LANG_ENGLISH} "Start with Windows"
LangString StartupTitle ${LANG_GERMAN} "Mit Windows starten"
LangString StartupTitle ${LANG_FRENCH} "Démarrage avec Windows"
LangString StartupTitle ${LANG_SPANISH} "Iniciar con Windows"
LangString StartupTitle ${LANG_POLISH} "Uruchamianie z systemem Windows"

LangString StartupSubtitle ${LANG_ENGLISH} "Choose whether ${PRODUCT} starts by itself when you log on."
LangString StartupSubtitle ${LANG_GERMAN} "Wählen Sie, ob ${PRODUCT} bei der Anmeldung von selbst startet."
LangString StartupSubtitle ${LANG_FRENCH} "Choisissez si ${PRODUCT} démarre de lui-même à l'ouverture de session."
LangString StartupSubtitle ${LANG_SPANISH} "Elija si ${PRODUCT} se inicia solo al iniciar sesión."
LangString StartupSubtitle ${LANG_POLISH} "Wybierz, czy program ${PRODUCT} ma się uruchamiać sam po zalogowaniu."

LangString StartupText ${LANG_ENGLISH} "${PRODUCT} checks the drives only while it runs. Started with Windows, it is in the notification area at every logon, and a disk left in drive A: is found without your having to remember to start it."
LangString StartupText ${LANG_GERMAN} "${PRODUCT} prüft die Laufwerke nur, solange es läuft. Startet es mit Windows, ist es bei jeder Anmeldung im Infobereich, und ein vergessener Datenträger in Laufwerk A: wird gefunden, ohne dass Sie an den Start denken müssen."
LangString StartupText ${LANG_FRENCH} "${PRODUCT} ne vérifie les lecteurs que pendant qu'il fonctionne. Démarré avec Windows, il est dans la zone de notification à chaque ouverture de session, et un disque oublié dans le lecteur A: est trouvé sans que vous ayez à penser à le lancer."
LangString StartupText ${LANG_SPANISH} "${PRODUCT} solo comprueba las unidades mientras se ejecuta. Si se inicia con Windows, está en el área de notificación en cada inicio de sesión, y un disco olvidado en la unidad A: se encuentra sin que tenga que acordarse de iniciarlo."
LangString StartupText ${LANG_POLISH} "${PRODUCT} sprawdza napędy tylko wtedy, gdy działa. Uruchamiany razem z systemem Windows, jest w obszarze powiadomień po każdym zalogowaniu, a dysk zostawiony w napędzie A: zostanie znaleziony bez pamiętania o uruchomieniu programu."

LangString StartupBox ${LANG_ENGLISH} "&Start ${PRODUCT} when Windows starts"
LangString StartupBox ${LANG_GERMAN} "${PRODUCT} mit Windows &starten"
LangString StartupBox ${LANG_FRENCH} "&Démarrer ${PRODUCT} avec Windows"
LangString StartupBox ${LANG_SPANISH} "&Iniciar ${PRODUCT} al iniciar Windows"
LangString StartupBox ${LANG_POLISH} "&Uruchamiaj program ${PRODUCT} razem z systemem Windows"

LangString DrivesTitle ${LANG_ENGLISH} "Drives to check"
LangString DrivesTitle ${LANG_GERMAN} "Zu prüfende Laufwerke"
LangString DrivesTitle ${LANG_FRENCH} "Lecteurs à vérifier"
LangString DrivesTitle ${LANG_SPANISH} "Unidades que comprobar"
LangString DrivesTitle ${LANG_POLISH} "Napędy do sprawdzania"

LangString DrivesSubtitle ${LANG_ENGLISH} "Choose which drives ${PRODUCT} checks for a disk left in them."
LangString DrivesSubtitle ${LANG_GERMAN} "Wählen Sie, welche Laufwerke ${PRODUCT} auf vergessene Datenträger prüft."
LangString DrivesSubtitle ${LANG_FRENCH} "Choisissez les lecteurs où ${PRODUCT} cherche un disque oublié."
LangString DrivesSubtitle ${LANG_SPANISH} "Elija qué unidades comprueba ${PRODUCT} en busca de un disco olvidado."
LangString DrivesSubtitle ${LANG_POLISH} "Wybierz, w których napędach program ${PRODUCT} szuka zostawionego dysku."

LangString DrivesText ${LANG_ENGLISH} "${PRODUCT} checks drive A: for a floppy disk. On a computer without a floppy drive, the disks left behind are USB sticks, memory cards and CDs: ${PRODUCT} can check every such drive, whatever its letter, also one plugged in while it runs."
LangString DrivesText ${LANG_GERMAN} "${PRODUCT} prüft Laufwerk A: auf eine Diskette. Auf einem Computer ohne Diskettenlaufwerk bleiben USB-Sticks, Speicherkarten und CDs zurück: ${PRODUCT} kann jedes solche Laufwerk prüfen, welchen Buchstaben es auch hat, auch eines, das erst während des Betriebs eingesteckt wird."
LangString DrivesText ${LANG_FRENCH} "${PRODUCT} vérifie si une disquette est restée dans le lecteur A:. Sur un ordinateur sans lecteur de disquettes, ce sont des clés USB, des cartes mémoire et des CD qu'on oublie : ${PRODUCT} peut vérifier chacun de ces lecteurs, quelle que soit sa lettre, même branché pendant qu'il fonctionne."
LangString DrivesText ${LANG_SPANISH} "${PRODUCT} comprueba si hay un disquete en la unidad A:. En un equipo sin disquetera, lo que se olvida son memorias USB, tarjetas de memoria y CD: ${PRODUCT} puede comprobar todas esas unidades, sea cual sea su letra, incluso una conectada mientras se ejecuta."
LangString DrivesText ${LANG_POLISH} "${PRODUCT} sprawdza, czy w napędzie A: została dyskietka. Na komputerze bez stacji dyskietek zostają raczej pamięci USB, karty pamięci i płyty CD: ${PRODUCT} może sprawdzać każdy taki napęd, bez względu na jego literę, także podłączony w czasie działania programu."

LangString DrivesBox ${LANG_ENGLISH} "Also check USB sticks, memory cards and CDs"
LangString DrivesBox ${LANG_GERMAN} "Auch USB-Sticks, Speicherkarten und CDs prüfen"
LangString DrivesBox ${LANG_FRENCH} "Vérifier aussi les clés USB, cartes mémoire et CD"
LangString DrivesBox ${LANG_SPANISH} "Comprobar también memorias USB, tarjetas de memoria y CD"
LangString DrivesBox ${LANG_POLISH} "Sprawdzaj też pamięci USB, karty pamięci i płyty CD"

LangString DrivesKept ${LANG_ENGLISH} "${PRODUCT}'s settings from an earlier installation are kept as they are. Change this choice in ${PRODUCT}'s settings, on the Other page."
LangString DrivesKept ${LANG_GERMAN} "Die Einstellungen von ${PRODUCT} aus einer früheren Installation bleiben, wie sie sind. Ändern Sie diese Wahl in den Einstellungen von ${PRODUCT}, auf der Seite „Sonstiges“."
LangString DrivesKept ${LANG_FRENCH} "Les paramètres de ${PRODUCT} d'une installation précédente sont conservés tels quels. Modifiez ce choix dans les paramètres de ${PRODUCT}, page « Autres »."
LangString DrivesKept ${LANG_SPANISH} "Se conserva tal cual la configuración de ${PRODUCT} de una instalación anterior. Cambie esta opción en la configuración de ${PRODUCT}, en la página «Otros»."
LangString DrivesKept ${LANG_POLISH} "Ustawienia programu ${PRODUCT} z wcześniejszej instalacji pozostają bez zmian. Zmień ten wybór w ustawieniach programu ${PRODUCT}, na karcie „Inne”."

LangString StartNow ${LANG_ENGLISH} "Start ${PRODUCT} now"
LangString StartNow ${LANG_GERMAN} "${PRODUCT} jetzt starten"
LangString StartNow ${LANG_FRENCH} "Démarrer ${PRODUCT} maintenant"
LangString StartNow ${LANG_SPANISH} "Iniciar ${PRODUCT} ahora"
LangString StartNow ${LANG_POLISH} "Uruchom teraz program ${PRODUCT}"

LangString AdminOnly ${LANG_ENGLISH} "${PRODUCT} keeps its settings for the whole computer, under HKEY_LOCAL_MACHINE, so only an administrator can install or remove it.$\r$\n$\r$\nLog on as an administrator, or start this program with 'Run as administrator'."
LangString AdminOnly ${LANG_GERMAN} "${PRODUCT} speichert seine Einstellungen für den ganzen Computer unter HKEY_LOCAL_MACHINE; deshalb kann nur ein Administrator es installieren oder entfernen.$\r$\n$\r$\nMelden Sie sich als Administrator an, oder starten Sie dieses Programm mit „Als Administrator ausführen“."
LangString AdminOnly ${LANG_FRENCH} "${PRODUCT} garde ses paramètres pour tout l'ordinateur, sous HKEY_LOCAL_MACHINE : seul un administrateur peut donc l'installer ou le supprimer.$\r$\n$\r$\nOuvrez une session en tant qu'administrateur, ou démarrez ce programme avec « Exécuter en tant qu'administrateur »."
LangString AdminOnly ${LANG_SPANISH} "${PRODUCT} guarda su configuración para todo el equipo, en HKEY_LOCAL_MACHINE, por lo que solo un administrador puede instalarlo o quitarlo.$\r$\n$\r$\nInicie sesión como administrador o ejecute este programa con «Ejecutar como administrador»."
LangString AdminOnly ${LANG_POLISH} "Program ${PRODUCT} przechowuje ustawienia dla całego komputera, w kluczu HKEY_LOCAL_MACHINE, dlatego tylko administrator może go zainstalować lub usunąć.$\r$\n$\r$\nZaloguj się jako administrator lub uruchom ten program poleceniem „Uruchom jako administrator”."

LangString StillRunning ${LANG_ENGLISH} "${PRODUCT} is still running and did not end within 10 seconds.$\r$\n$\r$\nEnd it with Exit in its tray icon's menu, then click Retry."
LangString StillRunning ${LANG_GERMAN} "${PRODUCT} läuft noch und hat sich nicht innerhalb von 10 Sekunden beendet.$\r$\n$\r$\nBeenden Sie es mit „Beenden“ im Menü seines Symbols im Infobereich, und klicken Sie dann auf „Wiederholen“."
LangString StillRunning ${LANG_FRENCH} "${PRODUCT} fonctionne encore et ne s'est pas fermé en 10 secondes.$\r$\n$\r$\nFermez-le avec « Quitter » dans le menu de son icône de la zone de notification, puis cliquez sur Réessayer."
LangString StillRunning ${LANG_SPANISH} "${PRODUCT} sigue en ejecución y no se cerró en 10 segundos.$\r$\n$\r$\nCiérrelo con «Salir» en el menú de su icono del área de notificación y haga clic en Reintentar."
LangString StillRunning ${LANG_POLISH} "Program ${PRODUCT} nadal działa i nie zakończył się w ciągu 10 sekund.$\r$\n$\r$\nZakończ go poleceniem „Zakończ” w menu jego ikony w obszarze powiadomień, a następnie kliknij Ponów próbę."

LangString DeleteLog ${LANG_ENGLISH} "${PRODUCT}'s log, dvn.dvl, is in its folder $INSTDIR.$\r$\n$\r$\nDelete the log too?"
LangString DeleteLog ${LANG_GERMAN} "Das Protokoll von ${PRODUCT}, dvn.dvl, liegt in seinem Ordner $INSTDIR.$\r$\n$\r$\nSoll das Protokoll auch gelöscht werden?"
LangString DeleteLog ${LANG_FRENCH} "Le journal de ${PRODUCT}, dvn.dvl, se trouve dans son dossier $INSTDIR.$\r$\n$\r$\nSupprimer aussi le journal ?"
LangString DeleteLog ${LANG_SPANISH} "El registro de ${PRODUCT}, dvn.dvl, está en su carpeta $INSTDIR.$\r$\n$\r$\n¿Eliminar también el registro?"
LangString DeleteLog ${LANG_POLISH} "Dziennik programu ${PRODUCT}, dvn.dvl, znajduje się w jego folderze $INSTDIR.$\r$\n$\r$\nCzy usunąć również dziennik?"

LangString RemoveSettings ${LANG_ENGLISH} "Remove ${PRODUCT}'s settings as well (the drives to check, the labels to ignore, the sound and the log)?$\r$\n$\r$\nKeep them if you mean to install ${PRODUCT} again."
LangString RemoveSettings ${LANG_GERMAN} "Auch die Einstellungen von ${PRODUCT} entfernen (die zu prüfenden Laufwerke, die zu übergehenden Namen, den Ton und das Protokoll)?$\r$\n$\r$\nBehalten Sie sie, wenn Sie ${PRODUCT} wieder installieren wollen."
LangString RemoveSettings ${LANG_FRENCH} "Supprimer aussi les paramètres de ${PRODUCT} (les lecteurs à vérifier, les noms à ignorer, le son et le journal) ?$\r$\n$\r$\nConservez-les si vous comptez réinstaller ${PRODUCT}."
LangString RemoveSettings ${LANG_SPANISH} "¿Quitar también la configuración de ${PRODUCT} (las unidades que comprobar, las etiquetas que ignorar, el sonido y el registro)?$\r$\n$\r$\nConsérvela si piensa volver a instalar ${PRODUCT}."
LangString RemoveSettings ${LANG_POLISH} "Czy usunąć również ustawienia programu ${PRODUCT} (napędy do sprawdzania, pomijane etykiety, dźwięk i dziennik)?$\r$\n$\r$\nZachowaj je, jeśli zamierzasz ponownie zainstalować program ${PRODUCT}."

LangString PackagesCopy ${LANG_ENGLISH} "${PRODUCT} ${VERSION} is installed on this computer by its Windows Installer package. Remove it first, in Programs and Features or with$\r$\n$\r$\nmsiexec /x $1 /qn$\r$\n$\r$\nDorvane's settings are kept."
LangString PackagesCopy ${LANG_GERMAN} "${PRODUCT} ${VERSION} ist auf diesem Computer mit seinem Windows Installer-Paket installiert. Entfernen Sie es zuerst, unter „Programme und Features“ oder mit$\r$\n$\r$\nmsiexec /x $1 /qn$\r$\n$\r$\nDie Einstellungen von Dorvane bleiben erhalten."
LangString PackagesCopy ${LANG_FRENCH} "${PRODUCT} ${VERSION} est installé sur cet ordinateur par son package Windows Installer. Supprimez-le d'abord, dans Programmes et fonctionnalités ou avec$\r$\n$\r$\nmsiexec /x $1 /qn$\r$\n$\r$\nLes paramètres de Dorvane sont conservés."
LangString PackagesCopy ${LANG_SPANISH} "${PRODUCT} ${VERSION} está instalado en este equipo con su paquete de Windows Installer. Quítelo primero, en Programas y características o con$\r$\n$\r$\nmsiexec /x $1 /qn$\r$\n$\r$\nSe conserva la configuración de Dorvane."
LangString PackagesCopy ${LANG_POLISH} "Program ${PRODUCT} ${VERSION} jest zainstalowany na tym komputerze za pomocą pakietu Instalatora Windows. Najpierw go usuń, w oknie Programy i funkcje lub poleceniem$\r$\n$\r$\nmsiexec /x $1 /qn$\r$\n$\r$\nUstawienia programu Dorvane zostaną zachowane."

LangString StillRunningShort ${LANG_ENGLISH} "${PRODUCT} is still running."
LangString StillRunningShort ${LANG_GERMAN} "${PRODUCT} läuft noch."
LangString StillRunningShort ${LANG_FRENCH} "${PRODUCT} fonctionne encore."
LangString StillRunningShort ${LANG_SPANISH} "${PRODUCT} sigue en ejecución."
LangString StillRunningShort ${LANG_POLISH} "Program ${PRODUCT} nadal działa."
