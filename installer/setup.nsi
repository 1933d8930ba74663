; Installer of the program and its console companion mz6.exe, built by scripts/release:
;   makensis -DEXE=program.exe -DMZ6=mz6.exe -DHELP=guide.pdf -DFOLDER_LOCK=folder-lock.exe -DOUTFILE=setup.exe
;            -DPRODUCT_NAME=... installer/setup.nsi
; with every value of build/win/product.env as a define of the same name (PRODUCT_NAME, VERSION_DOTTED,
; VERSION_SHORT, EXE_NAME, PDF_NAME, INSTALL_FOLDER, PRODUCT_MAKER, PRODUCT_MAKER_URL, PRODUCT_MAKER_EMAIL): the
; names, the version and the maker are written in CMake only.
;   and, for a signed release, -DSIGN=scripts/sign-file: the uninstaller and the installer are signed as
;   makensis makes them.
; What it installs is written in installer/manifest.txt, which configuring the win preset turns into
; build/win/installer/manifest.nsh (included below).
;
; The program keeps appconfig.ini in its working folder and opens help\ relative to it; its shortcut starts
; it in the install folder. That folder is made locked, or taken over only when nobody but the administrators
; could have put anything there, or refused: only administrators can change it, so no standard user can put
; files of their own in the place of a program that an administrator starts later. folder-lock.exe
; (installer/folder_lock_steps.h) decides that and makes the rights calls; after extraction it reads the rights
; of each file back. The installer writes the default appconfig.ini, the one file standard users may write.
; The uninstaller removes what the installer put there, through no link; the folder goes only if nothing else
; is left in it. Neither runs as SYSTEM: management agents get the MSI.

Unicode true
Target amd64-unicode  ; the program is x64 only; a 64-bit installer also sees the 64-bit registry
SetCompressor /SOLID lzma
RequestExecutionLevel admin  ; for the locked folder, the all-users shortcut and the entry in the list of programs
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include WordFunc.nsh

!ifndef INSTALL_FOLDER | PRODUCT_MAKER
    !error "pass the values of build/win/product.env as defines (see the top of this file)"
!endif
!ifndef MZ6 | FOLDER_LOCK
    !error "pass -DMZ6=path of mz6.exe and -DFOLDER_LOCK=path of folder-lock.exe (see the top of this file)"
!endif
!ifdef SIGN
    ; "= 0": a signature that could not be made stops the build, so no unsigned file is shipped.
    !uninstfinalize '"${SIGN}" "%1"' = 0
    !finalize '"${SIGN}" "%1"' = 0
!endif
!define SHORTCUT "$SMPROGRAMS\${PRODUCT_NAME}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_NAME}"
; The package for management agents, which run their installs as SYSTEM.
!define MSI_NAME "${INSTALL_FOLDER} (x64).msi"
; The settings file as the program writes it on its first start: Russian, the first tab. A new install in
; English writes the same bytes as the program does with English chosen (DefaultSettings below).
!define DEFAULT_SETTINGS "Language = RU;$\r$\nTabCtrl = KRT_KRN;$\r$\n"

; What the installer puts into the install folder (installer/manifest.txt), as CMake wrote it into the win
; build (makensis runs in this script's folder): the verdicts of folder-lock.exe as VERDICT_ defines, the MSI's
; upgrade code, and the macros ExtractInstalled and RemoveInstalled. RemoveInstalled deletes everything the
; installer put there, and what a reinstall stopped dead left moved aside (kAsideSuffix), now, never at a restart:
; by then a user could have made a junction of that name under C:\ (folder-lock.exe has found each file free
; before). Without RMDir /r: a folder that still holds files of the user's own stays.
!include "../build/win/installer/manifest.nsh"

; A management agent (Intune, Configuration Manager, a group policy's script) runs its installs as SYSTEM, for
; which NSIS before 3.12 may unpack its plug-ins into a temp folder that users can write; an uninstaller also
; copies itself to a temp folder unless started with _?=. So this comes first in .onInit and un.onInit,
; before any plug-in: SYSTEM's profile folder is the one the registry names for its SID.
!macro RefuseSystemRun
    ReadRegStr $0 HKLM "Software\Microsoft\Windows NT\CurrentVersion\ProfileList\S-1-5-18" "ProfileImagePath"
    ExpandEnvStrings $0 $0
    ${If} $0 != ""
    ${AndIf} $0 == $PROFILE
        MessageBox MB_ICONSTOP|MB_OK "$(SystemRun)" /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
!macroend

; Why a run stopped, for an agent that sees only exit code 2 of setup.exe /S or uninstall.exe /S: the reason
; (folder-lock.exe's verdict, as the guide lists them) and the message, in UTF-16, in the temp folder of the
; account that ran it (an administrator's, which only that account can write). A run that starts deletes an
; earlier run's. Never as SYSTEM: its temp folder is one where users may put a link by that name.
!define SETUP_LOG "$TEMP\${INSTALL_FOLDER} setup.log"
!define UNINSTALL_LOG "$TEMP\${INSTALL_FOLDER} uninstall.log"
!macro WriteStopLog log
    FileOpen $R7 "${log}" w
    FileWriteUTF16LE /BOM $R7 "exit code: 2$\r$\nreason: $0$\r$\n$R9$\r$\n"
    FileClose $R7
!macroend

!macro UnpackFolderLock
    InitPluginsDir
    File "/oname=$PLUGINSDIR\folder-lock.exe" "${FOLDER_LOCK}"
!macroend

; One step of folder-lock.exe on $INSTDIR: $0 its verdict (0: go on, "error": it did not run), $R0 the path it
; is about. The helper writes UTF-16 after a byte order mark, by which nsExec knows the output for UTF-16
; whatever its letters; nsExec keeps the mark as a character, taken off here before any message shows it.
!macro FolderLock step
    nsExec::ExecToStack '"$PLUGINSDIR\folder-lock.exe" ${step} "$INSTDIR"'
    Pop $0
    Pop $R0
    StrCpy $R1 $R0 1
    ${If} $R1 == "${U+FEFF}"
        StrCpy $R0 $R0 "" 1
    ${EndIf}
!macroend

Name "${PRODUCT_NAME} ${VERSION_SHORT} (x64)"
OutFile "${OUTFILE}"
InstallDir "C:\${INSTALL_FOLDER}"
BrandingText "${PRODUCT_NAME} ${VERSION_SHORT}"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckFolderPage
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunAsUser
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The installer speaks the language of the user's Windows if it is one of these, else English.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString DefaultSettings ${LANG_ENGLISH} "Language = EN;$\r$\nTabCtrl = KRT_KRN;$\r$\n"
LangString DefaultSettings ${LANG_RUSSIAN} "${DEFAULT_SETTINGS}"
LangString SystemRun ${LANG_ENGLISH} "This program does not run as SYSTEM.$\r$\n$\r$\nTo deploy ${PRODUCT_NAME} with a management agent (Intune, Configuration Manager, a group policy), use the package $\"${MSI_NAME}$\"."
LangString SystemRun ${LANG_RUSSIAN} "Эта программа не запускается от имени SYSTEM.$\r$\n$\r$\nДля развёртывания ${PRODUCT_NAME} средствами управления (Intune, Configuration Manager, групповая политика) используйте пакет $\"${MSI_NAME}$\"."
LangString NotLocalPath ${LANG_ENGLISH} "$INSTDIR is not a folder on a local drive.$\r$\n$\r$\nNothing was changed. Choose a folder such as C:\${INSTALL_FOLDER}."
LangString NotLocalPath ${LANG_RUSSIAN} "$INSTDIR — не папка на локальном диске.$\r$\n$\r$\nНичего не изменено. Выберите папку вроде C:\${INSTALL_FOLDER}."
LangString LinkFound ${LANG_ENGLISH} "$R0 is a link (a junction, a symbolic link or a mount point).$\r$\n$\r$\nSetup installs only into a folder that is no link and lies under none. Nothing was changed. Choose another folder."
LangString LinkFound ${LANG_RUSSIAN} "$R0 — ссылка (точка соединения, символическая ссылка или точка подключения).$\r$\n$\r$\nУстановщик ставит программу только в папку, которая сама не ссылка и не лежит под ссылкой. Ничего не изменено. Выберите другую папку."
LangString ForeignRights ${LANG_ENGLISH} "The folder $R0 exists, and users other than administrators own it or may change it.$\r$\n$\r$\nSetup takes over an existing folder only when only administrators can change it. Nothing was changed. Choose a new folder, or have an administrator delete this one."
LangString ForeignRights ${LANG_RUSSIAN} "Папка $R0 уже есть, и ею владеют или могут её изменять не только администраторы.$\r$\n$\r$\nУстановщик занимает существующую папку, только если изменять её могут одни администраторы. Ничего не изменено. Выберите новую папку или попросите администратора удалить эту."
LangString OpenAbove ${LANG_ENGLISH} "The folder $R0, above the install folder, is missing, or users other than administrators may delete or rename what it holds, or change its rights.$\r$\n$\r$\nThere the install folder could be replaced. Nothing was changed. Choose a folder under one that only administrators can change, such as C:\ or C:\Program Files."
LangString OpenAbove ${LANG_RUSSIAN} "Папки $R0, в которой лежит папка установки, нет, или не только администраторы могут удалять и переименовывать её содержимое или менять её права.$\r$\n$\r$\nТам папку установки можно подменить. Ничего не изменено. Выберите папку внутри той, что могут изменять только администраторы, например C:\ или C:\Program Files."
LangString Unreadable ${LANG_ENGLISH} "$R0 could not be read (what it is, its owner or what it holds).$\r$\n$\r$\nSetup takes over only a folder it can see whole. Nothing was changed. Choose another folder."
LangString Unreadable ${LANG_RUSSIAN} "Не удалось прочитать $R0 (что это, кто владелец или что внутри).$\r$\n$\r$\nУстановщик занимает только папку, которую видит целиком. Ничего не изменено. Выберите другую папку."
LangString ForeignFolder ${LANG_ENGLISH} "The folder $INSTDIR already holds other files ($R0).$\r$\n$\r$\nSetup makes the install folder one that only administrators can change. Choose a new or empty folder."
LangString ForeignFolder ${LANG_RUSSIAN} "В папке $INSTDIR уже есть другие файлы ($R0).$\r$\n$\r$\nУстановщик делает папку установки такой, что изменять её могут только администраторы. Выберите новую или пустую папку."
LangString NotMade ${LANG_ENGLISH} "The folder $INSTDIR could not be made.$\r$\n$\r$\nNothing was installed. Choose a folder on an NTFS drive."
LangString NotMade ${LANG_RUSSIAN} "Не удалось создать папку $INSTDIR.$\r$\n$\r$\nНичего не установлено. Выберите папку на диске NTFS."
LangString LockFailed ${LANG_ENGLISH} "$R0 could not be deleted or given its access rights.$\r$\n$\r$\nThe installation has been stopped and nothing was installed. Close the program if it runs, and choose a folder on an NTFS drive."
LangString LockFailed ${LANG_RUSSIAN} "Не удалось удалить $R0 или задать его права доступа.$\r$\n$\r$\nУстановка прервана, ничего не установлено. Закройте программу, если она запущена, и выберите папку на диске NTFS."
LangString InUse ${LANG_ENGLISH} "$R0 is in use: ${PRODUCT_NAME} is running, or the file is open.$\r$\n$\r$\nNothing was changed. Close ${PRODUCT_NAME} and run Setup again."
LangString InUse ${LANG_RUSSIAN} "$R0 используется: запущена программа ${PRODUCT_NAME}, или файл открыт.$\r$\n$\r$\nНичего не изменено. Закройте ${PRODUCT_NAME} и запустите установку снова."
LangString Differs ${LANG_ENGLISH} "The access rights of $R0, read back, are not the ones Setup gave it.$\r$\n$\r$\nThe installation has been stopped and nothing was installed. Choose a folder on an NTFS drive."
LangString Differs ${LANG_RUSSIAN} "Права доступа к $R0, прочитанные после установки, не те, что задал установщик.$\r$\n$\r$\nУстановка прервана, ничего не установлено. Выберите папку на диске NTFS."
LangString ExtractFailed ${LANG_ENGLISH} "A file of ${PRODUCT_NAME} could not be written into $INSTDIR.$\r$\n$\r$\nThe installation has been stopped and nothing was installed."
LangString ExtractFailed ${LANG_RUSSIAN} "Не удалось записать файл ${PRODUCT_NAME} в $INSTDIR.$\r$\n$\r$\nУстановка прервана, ничего не установлено."
LangString SettingsFailed ${LANG_ENGLISH} "The file $INSTDIR\appconfig.ini could not be written.$\r$\n$\r$\nThe installation has been stopped and nothing was installed."
LangString SettingsFailed ${LANG_RUSSIAN} "Не удалось записать файл $INSTDIR\appconfig.ini.$\r$\n$\r$\nУстановка прервана, ничего не установлено."
LangString UninstallCopy ${LANG_ENGLISH} "The uninstaller could not make the folder to run from ($R5).$\r$\n$\r$\nNothing was removed. Try again as an administrator."
LangString UninstallCopy ${LANG_RUSSIAN} "Программе удаления не удалось создать папку, из которой она работает ($R5).$\r$\n$\r$\nНичего не удалено. Попробуйте снова от имени администратора."
LangString UninstallInUse ${LANG_ENGLISH} "$R0 is in use: ${PRODUCT_NAME} is running, or the file is open.$\r$\n$\r$\nNothing was removed. Close ${PRODUCT_NAME} and uninstall again."
LangString UninstallInUse ${LANG_RUSSIAN} "$R0 используется: запущена программа ${PRODUCT_NAME}, или файл открыт.$\r$\n$\r$\nНичего не удалено. Закройте ${PRODUCT_NAME} и запустите удаление снова."
LangString UninstallLink ${LANG_ENGLISH} "$R0 is a link (a junction, a symbolic link or a mount point).$\r$\n$\r$\nThe uninstaller deletes nothing through a link: nothing was removed. Have an administrator remove the link, then uninstall again."
LangString UninstallLink ${LANG_RUSSIAN} "$R0 — ссылка (точка соединения, символическая ссылка или точка подключения).$\r$\n$\r$\nПрограмма удаления ничего не удаляет через ссылку: ничего не удалено. Попросите администратора убрать ссылку и запустите удаление снова."
LangString UninstallOpenAbove ${LANG_ENGLISH} "The folder $R0, above $INSTDIR, lets users other than administrators delete or rename what it holds, or change its rights.$\r$\n$\r$\nThe install folder could be swapped for a link meanwhile: nothing was removed. Have an administrator delete the folder."
LangString UninstallOpenAbove ${LANG_RUSSIAN} "Папка $R0, в которой лежит $INSTDIR, позволяет не только администраторам удалять и переименовывать её содержимое или менять её права.$\r$\n$\r$\nПапку установки можно тем временем подменить ссылкой: ничего не удалено. Попросите администратора удалить папку."
LangString UninstallOpen ${LANG_ENGLISH} "The folder $R0 is owned by, or may be changed by, users other than administrators, or could not be read.$\r$\n$\r$\nWhat the uninstaller deletes there could be swapped for a link meanwhile: nothing was removed. Have an administrator delete the folder."
LangString UninstallOpen ${LANG_RUSSIAN} "Папкой $R0 владеют или могут её изменять не только администраторы, или её не удалось прочитать.$\r$\n$\r$\nТо, что удаляет программа удаления, можно тем временем подменить ссылкой: ничего не удалено. Попросите администратора удалить папку."

VIProductVersion "${VERSION_DOTTED}"
VIFileVersion "${VERSION_DOTTED}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION_DOTTED}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION_DOTTED}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT_NAME} ${VERSION_SHORT} (x64) setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PRODUCT_MAKER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PRODUCT_MAKER}"

; The message for a verdict of folder-lock.exe ($0, about $R0), in $R9.
Function VerdictMessage
    ${Switch} $0
        ${Case} ${VERDICT_NOT_LOCAL_PATH}
            StrCpy $R9 "$(NotLocalPath)"
            ${Break}
        ${Case} ${VERDICT_LINK}
            StrCpy $R9 "$(LinkFound)"
            ${Break}
        ${Case} ${VERDICT_FOREIGN_RIGHTS}
            StrCpy $R9 "$(ForeignRights)"
            ${Break}
        ${Case} ${VERDICT_OPEN_ABOVE}
            StrCpy $R9 "$(OpenAbove)"
            ${Break}
        ${Case} ${VERDICT_UNREADABLE}
            StrCpy $R9 "$(Unreadable)"
            ${Break}
        ${Case} ${VERDICT_FOREIGN_ITEM}
            StrCpy $R9 "$(ForeignFolder)"
            ${Break}
        ${Case} ${VERDICT_NOT_MADE}
            StrCpy $R9 "$(NotMade)"
            ${Break}
        ${Case} ${VERDICT_DIFFERS}
            StrCpy $R9 "$(Differs)"
            ${Break}
        ${Case} ${VERDICT_IN_USE}
            StrCpy $R9 "$(InUse)"
            ${Break}
        ${Default}
            StrCpy $R9 "$(LockFailed)"
    ${EndSwitch}
FunctionEnd

; One product, one entry. The entry of setup.exe's install is the one key UNINSTALL_KEY, whatever the version
; or folder; the MSI's install is found by its upgrade code (MSI_UPGRADE_CODE). Setup does not install beside
; the MSI; an install of setup.exe's in another folder, or of another version, goes through its own uninstaller
; before anything is installed; the same version in the same folder is installed again in place.
; The settings the program writes are a few dozen bytes: a larger file is not carried to a new folder.
!define KEPT_SETTINGS_LIMIT 4096

Var Replacing  ; "1" from the lock until the seal has passed: a failure meanwhile puts back what was there
Var EarlierFolder   ; the folder the entry lists, "" without an entry
Var EarlierVersion

LangString BesideMsi ${LANG_ENGLISH} "$2 is installed from its Windows Installer package (.msi, product $1).$\r$\n$\r$\nSetup does not install beside it: nothing was changed. Remove it first in the list of installed programs, or with$\r$\nmsiexec /x $1 /qn$\r$\nthen run Setup again."
LangString BesideMsi ${LANG_RUSSIAN} "$2 установлена из пакета установщика Windows (.msi, продукт $1).$\r$\n$\r$\nУстановщик не ставит программу рядом с ней: ничего не изменено. Сначала удалите её в списке установленных программ или командой$\r$\nmsiexec /x $1 /qn$\r$\nи запустите установку снова."
LangString NewerInstalled ${LANG_ENGLISH} "${PRODUCT_NAME} $EarlierVersion, newer than this ${VERSION_SHORT}, is installed in $EarlierFolder.$\r$\n$\r$\nNothing was changed. To go back to ${VERSION_SHORT}, uninstall $EarlierVersion first in the list of installed programs."
LangString NewerInstalled ${LANG_RUSSIAN} "В $EarlierFolder установлена ${PRODUCT_NAME} $EarlierVersion, более новая, чем эта ${VERSION_SHORT}.$\r$\n$\r$\nНичего не изменено. Чтобы вернуться к ${VERSION_SHORT}, сначала удалите $EarlierVersion в списке установленных программ."
LangString RemoveEarlier ${LANG_ENGLISH} "${PRODUCT_NAME} $EarlierVersion is installed in $EarlierFolder.$\r$\n$\r$\nSetup first removes it with its own uninstaller, keeping the settings saved there, then installs ${PRODUCT_NAME} ${VERSION_SHORT} in $INSTDIR."
LangString RemoveEarlier ${LANG_RUSSIAN} "${PRODUCT_NAME} $EarlierVersion установлена в $EarlierFolder.$\r$\n$\r$\nУстановщик сначала удалит её собственной программой удаления, сохранив записанные там настройки, затем установит ${PRODUCT_NAME} ${VERSION_SHORT} в $INSTDIR."
LangString EarlierOpen ${LANG_ENGLISH} "${PRODUCT_NAME} $EarlierVersion in $EarlierFolder was not removed: $R0 is a link, could not be read, or may be changed by users other than administrators, so the uninstaller found there is not run with an administrator's rights.$\r$\n$\r$\nNothing was changed. Have an administrator delete $EarlierFolder, then run Setup again."
LangString EarlierOpen ${LANG_RUSSIAN} "${PRODUCT_NAME} $EarlierVersion в $EarlierFolder не удалена: $R0 — ссылка, её не удалось прочитать, или её могут изменять не только администраторы, поэтому найденная там программа удаления не запускается с правами администратора.$\r$\n$\r$\nНичего не изменено. Попросите администратора удалить $EarlierFolder и запустите установку снова."
LangString EarlierKept ${LANG_ENGLISH} "${PRODUCT_NAME} $EarlierVersion in $EarlierFolder was not removed: its uninstaller $EarlierFolder\uninstall.exe is missing or stopped (${PRODUCT_NAME} running, a file of it open, or a link found).$\r$\n$\r$\nNothing was installed. Close ${PRODUCT_NAME}, or uninstall it in the list of installed programs to see why, then run Setup again."
LangString EarlierKept ${LANG_RUSSIAN} "${PRODUCT_NAME} $EarlierVersion в $EarlierFolder не удалена: её программы удаления $EarlierFolder\uninstall.exe нет, или она остановилась (запущена ${PRODUCT_NAME}, открыт её файл или найдена ссылка).$\r$\n$\r$\nНичего не установлено. Закройте ${PRODUCT_NAME} или удалите её в списке установленных программ, чтобы узнать причину, и запустите установку снова."

; The MSI's install, found by its upgrade code, stops Setup before it changes anything.
Function RefuseBesideMsi
    System::Call 'msi::MsiEnumRelatedProductsW(w "{${MSI_UPGRADE_CODE}}", i 0, i 0, w .r1) i .r0'
    ${If} $0 == 0
        System::Call 'msi::MsiGetProductInfoW(w r1, w "InstalledProductName", w .r2, *i ${NSIS_MAX_STRLEN})'
        MessageBox MB_ICONSTOP|MB_OK "$(BesideMsi)" /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
FunctionEnd

; The install the entry lists. Without /D=, the same version is installed again where it is; a newer one is
; never replaced by an older (as the MSI refuses a downgrade).
Function FindEarlierInstall
    ReadRegStr $EarlierFolder HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegStr $EarlierVersion HKLM "${UNINSTALL_KEY}" "DisplayVersion"
    ${If} $EarlierFolder == ""
        Return
    ${EndIf}
    ${VersionCompare} $EarlierVersion "${VERSION_SHORT}" $0
    ${If} $0 == 1
        MessageBox MB_ICONSTOP|MB_OK "$(NewerInstalled)" /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
    ; $INSTDIR is InstallDir's here unless /D= named a folder.
    ${If} $0 == 0
    ${AndIf} $INSTDIR == "C:\${INSTALL_FOLDER}"
        StrCpy $INSTDIR $EarlierFolder
    ${EndIf}
FunctionEnd

; Any other install (another version, or another folder: /D= is the administrator's word, so the install moves
; there rather than staying unlisted where it was) is removed by its own uninstaller, which makes its own checks
; (the program running, links) and refuses with nothing removed. That program runs with this installer's
; rights: only when folder-lock.exe's uninstall check finds its folder, and every folder above, changeable by
; administrators alone and no link (and the program's files there free). It runs from a copy in the plug-ins
; folder, so that it removes its folder itself and leaves no delete for the restart. The new folder is checked
; first: a refused folder costs the earlier install nothing.
Function RemoveEarlierInstall
    ${If} $EarlierFolder == ""
        Return
    ${EndIf}
    ${If} $EarlierFolder == $INSTDIR
    ${AndIf} $EarlierVersion == "${VERSION_SHORT}"
        Return
    ${EndIf}
    ${IfNot} ${FileExists} "$EarlierFolder\*.*"
        Return  ; a folder deleted by hand: only its entry is left, and this install writes its own
    ${EndIf}
    ${If} $EarlierFolder != $INSTDIR
        !insertmacro FolderLock check
        ${If} $0 != "${VERDICT_GO}"
            Call VerdictMessage
            Call Refuse
        ${EndIf}
    ${EndIf}
    StrCpy $R2 $INSTDIR
    StrCpy $INSTDIR $EarlierFolder
    !insertmacro FolderLock uninstall
    StrCpy $INSTDIR $R2
    ${If} $0 == "${VERDICT_IN_USE}"
        StrCpy $R9 "$(InUse)"
        Call Refuse
    ${ElseIf} $0 != "${VERDICT_GO}"
        StrCpy $R9 "$(EarlierOpen)"
        Call Refuse
    ${EndIf}
    MessageBox MB_ICONINFORMATION|MB_OKCANCEL "$(RemoveEarlier)" /SD IDOK IDOK remove
    SetErrorLevel 1  ; cancelled
    Abort
remove:
    Call KeepSettingsOf
    StrCpy $1 "none"  ; the exit code, left so when the uninstaller is missing or does not start
    ClearErrors
    CopyFiles /SILENT "$EarlierFolder\uninstall.exe" "$PLUGINSDIR\earlier-uninstall.exe"
    ${IfNot} ${Errors}
        ExecWait '"$PLUGINSDIR\earlier-uninstall.exe" /S _?=$EarlierFolder' $1
    ${EndIf}
    ; Removed, and its entry gone with it.
    ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $1 != 0
    ${OrIf} $2 != ""
        StrCpy $R9 "$(EarlierKept)"
        Call Refuse
    ${EndIf}
FunctionEnd

; The earlier install's settings, as users left them, kept for the new folder: the bytes of the file's data,
; none of its other streams.
Function KeepSettingsOf
    ClearErrors
    FileOpen $3 "$EarlierFolder\appconfig.ini" r
    ${If} ${Errors}
        Return
    ${EndIf}
    FileSeek $3 0 END $4
    ${If} $4 <= ${KEPT_SETTINGS_LIMIT}
        FileSeek $3 0 SET
        FileOpen $5 "$PLUGINSDIR\appconfig.ini" w
        ${For} $6 1 $4
            FileReadByte $3 $7
            FileWriteByte $5 $7
        ${Next}
        FileClose $5
    ${EndIf}
    FileClose $3
FunctionEnd

; A new folder gets the settings kept from the install removed for it, if any.
Function KeepEarlierSettings
    ${If} ${FileExists} "$PLUGINSDIR\appconfig.ini"
    ${AndIfNot} ${FileExists} "$INSTDIR\appconfig.ini"
        CopyFiles /SILENT "$PLUGINSDIR\appconfig.ini" "$INSTDIR\appconfig.ini"
    ${EndIf}
FunctionEnd

Function .onInit
    !insertmacro RefuseSystemRun
    Delete "${SETUP_LOG}"
    !insertmacro UnpackFolderLock
    Call RefuseBesideMsi
    Call FindEarlierInstall
FunctionEnd

Function CheckFolderPage
    ${If} $INSTDIR == $EarlierFolder
    ${AndIf} $EarlierVersion != "${VERSION_SHORT}"
        Return  ; the earlier version there is removed first, its folder checked then (RemoveEarlierInstall)
    ${EndIf}
    !insertmacro FolderLock check
    ${If} $0 != "${VERDICT_GO}"
        Call VerdictMessage
        MessageBox MB_ICONEXCLAMATION|MB_OK "$R9"
        Abort  ; stays on the page
    ${EndIf}
FunctionEnd

; Refuse ends the install with exit code 2 before anything is extracted; StopInstall takes back what it has
; extracted first and puts back the earlier install. The message is in $R9. The uninstall entry and the shortcut come last of all, so there are
; none yet.
Function Refuse
    !insertmacro WriteStopLog "${SETUP_LOG}"
    MessageBox MB_ICONSTOP|MB_OK "$R9" /SD IDOK
    SetErrorLevel 2
    Abort
FunctionEnd

Function StopInstall
    !insertmacro WriteStopLog "${SETUP_LOG}"
    MessageBox MB_ICONSTOP|MB_OK "$R9" /SD IDOK
    Call PutBack
    SetErrorLevel 2
    Abort
FunctionEnd

; A file that could not be extracted, where the user chose Abort (under /S it is skipped, and StopInstall
; runs): the install ends as StopInstall ends it.
Function .onInstFailed
    ${If} $Replacing == 1
        Call PutBack
    ${EndIf}
FunctionEnd

; What this install put there goes, and an earlier install's files it moved aside come back; the folder goes
; when a first install leaves it empty.
Function PutBack
    StrCpy $Replacing ""
    !insertmacro FolderLock restore
    SetOutPath "$TEMP"  ; the working folder cannot be removed
    ; folder-lock.exe, which has just ended, may hold the folder open for a moment yet.
    ${For} $R8 1 20
        RMDir "$INSTDIR"
        ${IfNot} ${FileExists} "$INSTDIR\*.*"
        ${OrIf} ${FileExists} "$INSTDIR\uninstall.exe"  ; an earlier install, put back
            ${Break}
        ${EndIf}
        Sleep 100
    ${Next}
FunctionEnd

; The installer runs with an administrator's token. explorer.exe hands the shortcut to the user's own
; shell, which starts the program with the signed-in user's rights, in the shortcut's working folder.
Function RunAsUser
    SetShellVarContext all
    Exec '"$WINDIR\explorer.exe" "${SHORTCUT}"'
FunctionEnd

Section
    SetShellVarContext all
    ; The folder made locked, or taken over with an earlier install's files moved aside (files made in it inherit
    ; its rights), or refused. An earlier install's file in use (the program running) stops the install
    ; before anything is changed; a step that fails later puts that install back (StopInstall).
    Call RemoveEarlierInstall
    !insertmacro FolderLock lock
    ${If} $0 != "${VERDICT_GO}"
        Call VerdictMessage
        Call Refuse
    ${EndIf}
    StrCpy $Replacing 1
    ClearErrors  ; a file that cannot be written, skipped (as under /S), stops the install below
    ; The shortcut's working folder is the output folder at the time it is made: the install folder, set last.
    !insertmacro ExtractInstalled
    ${If} ${Errors}
        StrCpy $0 ${VERDICT_FAILED}  ; a write after the lock failed: the reason logged
        StrCpy $R9 "$(ExtractFailed)"
        Call StopInstall
    ${EndIf}
    ; The program saves the language and the tab here for every user: folder-lock.exe lets Users write its
    ; data, nothing more. A reinstall keeps what they saved; only a missing file gets the defaults, in the
    ; installer's language.
    Call KeepEarlierSettings
    ${IfNot} ${FileExists} "$INSTDIR\appconfig.ini"
        ClearErrors
        FileOpen $1 "$INSTDIR\appconfig.ini" w
        FileWrite $1 "$(DefaultSettings)"
        FileClose $1
        ${If} ${Errors}
            StrCpy $0 ${VERDICT_FAILED}  ; a write after the lock failed: the reason logged
            StrCpy $R9 "$(SettingsFailed)"
            Call StopInstall
        ${EndIf}
    ${EndIf}
    ; Each item given its owner and rights, and the folder's and each item's read back.
    !insertmacro FolderLock seal
    ${If} $0 != "${VERDICT_GO}"
        Call VerdictMessage
        Call StopInstall
    ${EndIf}
    StrCpy $Replacing ""

    CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE_NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME} ${VERSION_SHORT} (x64)"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION_SHORT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT_MAKER}"
    !if "${PRODUCT_MAKER_URL}" != ""
        WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${PRODUCT_MAKER_URL}"
    !endif
    !if "${PRODUCT_MAKER_EMAIL}" != ""
        WriteRegStr HKLM "${UNINSTALL_KEY}" "Contact" "${PRODUCT_MAKER_EMAIL}"
    !endif
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE_NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    ; _?= runs the uninstaller where it is, in the locked folder: without it, it first copies itself into the
    ; temp folder of whoever runs it, before any of its code could refuse SYSTEM.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" _?=$INSTDIR'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Started in the install folder (_?=, as the list of programs starts it), the uninstaller could remove neither
; itself nor the folder but at the next restart, by a path under C:\ that a user may have made a junction by
; then. So it copies itself into a new folder under the system's temp folder, made locked (only administrators
; and SYSTEM may write there, and no user may delete or rename what that temp folder holds), runs the copy on the
; install folder and ends with its exit code. A second copy, started as it ends, removes its file and the folder
; (NSIS holds its own file open while it runs), and leaves only itself for the restart.
Function un.onInit
    !insertmacro RefuseSystemRun
    ${If} $EXEFILE == "finish-uninstall.exe"
        ${For} $R8 1 50
            Delete "$INSTDIR\uninstall.exe"
            ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
                ${Break}
            ${EndIf}
            Sleep 100
        ${Next}
        RMDir "$INSTDIR"
        ; Itself at the next restart, by paths in the locked folder, which no standard user can make or replace.
        Delete /REBOOTOK "$EXEPATH"
        RMDir /REBOOTOK "$EXEDIR"
        Quit
    ${EndIf}
    Delete "${UNINSTALL_LOG}"
    !insertmacro UnpackFolderLock
    ${If} $EXEFILE == "uninstall.exe"  ; not a copy, whatever the path it was started by
        GetTempFileName $R5 "$WINDIR\Temp"
        Delete $R5
        nsExec::ExecToStack '"$PLUGINSDIR\folder-lock.exe" lock "$R5"'
        Pop $0
        Pop $R0
        ClearErrors
        ${If} $0 == "${VERDICT_GO}"
            CopyFiles /SILENT "$EXEPATH" "$R5\uninstall-copy.exe"
            CopyFiles /SILENT "$EXEPATH" "$R5\finish-uninstall.exe"
        ${EndIf}
        ${If} $0 != "${VERDICT_GO}"
        ${OrIf} ${Errors}
            MessageBox MB_ICONSTOP|MB_OK "$(UninstallCopy)" /SD IDOK
            ${If} $0 == "${VERDICT_GO}"  ; only what it made itself
                Delete "$R5\uninstall-copy.exe"
                Delete "$R5\finish-uninstall.exe"
                RMDir "$R5"
            ${EndIf}
            SetErrorLevel 2
            Quit
        ${EndIf}
        StrCpy $R6 ""
        ${If} ${Silent}
            StrCpy $R6 "/S "
        ${EndIf}
        SetOutPath "$R5"  ; the install folder is no process's working folder
        ClearErrors
        ExecWait '"$R5\uninstall-copy.exe" $R6_?=$INSTDIR' $0
        ${If} ${Errors}
            StrCpy $0 2
        ${EndIf}
        Delete "$R5\uninstall-copy.exe"  ; it has ended
        ${If} $0 == "0"
            Exec '"$R5\finish-uninstall.exe" _?=$INSTDIR'
        ${Else}
            Delete "$R5\finish-uninstall.exe"
            SetOutPath "$TEMP"
            RMDir "$R5"
        ${EndIf}
        SetErrorLevel $0
        Quit
    ${EndIf}
FunctionEnd

Section Uninstall
    SetShellVarContext all
    !insertmacro FolderLock uninstall
    ${If} $0 != "${VERDICT_GO}"
        StrCpy $R9 "$(UninstallOpen)"
        ${If} $0 == "${VERDICT_LINK}"
            StrCpy $R9 "$(UninstallLink)"
        ${ElseIf} $0 == "${VERDICT_OPEN_ABOVE}"
            StrCpy $R9 "$(UninstallOpenAbove)"
        ${ElseIf} $0 == "${VERDICT_IN_USE}"
            StrCpy $R9 "$(UninstallInUse)"
        ${EndIf}
        !insertmacro WriteStopLog "${UNINSTALL_LOG}"
        MessageBox MB_ICONSTOP|MB_OK "$R9" /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
    Delete "${SHORTCUT}"
    !insertmacro RemoveInstalled
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
