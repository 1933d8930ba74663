; Installer of the program and its console companion mz6.exe, built by scripts/release:
;   makensis -DEXE=program.exe -DMZ6=mz6.exe -DHELP=guide.pdf -DOUTFILE=setup.exe -DPRODUCT_NAME=... installer/setup.nsi
; with every value of build/win/product.env as a define of the same name (PRODUCT_NAME, VERSION_DOTTED,
; VERSION_SHORT, EXE_NAME, PDF_NAME, INSTALL_FOLDER, PRODUCT_MAKER, PRODUCT_MAKER_URL, PRODUCT_MAKER_EMAIL): the
; names, the version and the maker are written in CMake only.
;   and, for a signed release, -DSIGN=scripts/sign-file: the uninstaller and the installer are signed as
;   makensis makes them.
;
; The program keeps appconfig.ini in its working folder and opens help\ relative to it; its shortcut starts
; it in the install folder. That folder is locked before anything goes in: only administrators can change
; it, so no standard user can put files of their own in the place of a program that an administrator starts
; later. The installer writes the default appconfig.ini, the one file standard users may write. The
; uninstaller removes what the installer put there; the folder goes only if nothing else is left in it.

Unicode true
Target amd64-unicode  ; the program is x64 only; a 64-bit installer also sees the 64-bit registry
SetCompressor /SOLID lzma
RequestExecutionLevel admin  ; for the locked folder, the all-users shortcut and the entry in the list of programs
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh

!ifndef INSTALL_FOLDER | PRODUCT_MAKER
    !error "pass the values of build/win/product.env as defines (see the top of this file)"
!endif
!ifndef MZ6
    !error "pass -DMZ6=path of mz6.exe (see the top of this file)"
!endif
!ifdef SIGN
    ; "= 0": a signature that could not be made stops the build, so no unsigned file is shipped.
    !uninstfinalize '"${SIGN}" "%1"' = 0
    !finalize '"${SIGN}" "%1"' = 0
!endif
!define SHORTCUT "$SMPROGRAMS\${PRODUCT_NAME}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_NAME}"
; Well-known SIDs, whatever the language of Windows: Administrators, SYSTEM, Users.
!define ADMINS "*S-1-5-32-544"
!define SYSTEM "*S-1-5-18"
!define USERS "*S-1-5-32-545"
; The settings file as the program writes it on its first start: Russian, the first tab.
!define DEFAULT_SETTINGS "Language = RU;$\r$\nTabCtrl = KRT_KRN;$\r$\n"

; Everything the installer puts into the install folder. The uninstaller passes /REBOOTOK, so that a file in
; use (the program still running, the guide open) goes at the next restart rather than staying for good.
; Without RMDir /r: a folder that still holds files of the user's own stays (and asks for no restart).
!macro RemoveInstalled deleteOption
    Delete ${deleteOption} "$INSTDIR\${EXE_NAME}"
    Delete ${deleteOption} "$INSTDIR\mz6.exe"
    Delete ${deleteOption} "$INSTDIR\appconfig.ini"
    Delete ${deleteOption} "$INSTDIR\help\${PDF_NAME}"
    Delete ${deleteOption} "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR\help"
!macroend

; One icacls call; when it fails (FAT32, exFAT, some network shares) the install stops and takes back
; what it did.
!macro SetRights arguments
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" ${arguments}'
    Pop $0
    ${If} $0 != "0"
        Push "$(RightsFailed)"
        Call StopInstall
    ${EndIf}
!macroend

Name "${PRODUCT_NAME} ${VERSION_SHORT} (x64)"
OutFile "${OUTFILE}"
InstallDir "C:\${INSTALL_FOLDER}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
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

LangString ForeignFolder ${LANG_ENGLISH} "The folder $INSTDIR already holds other files ($R0).$\r$\n$\r$\nSetup makes the install folder one that only administrators can change. Choose a new or empty folder."
LangString ForeignFolder ${LANG_RUSSIAN} "В папке $INSTDIR уже есть другие файлы ($R0).$\r$\n$\r$\nУстановщик делает папку установки такой, что изменять её могут только администраторы. Выберите новую или пустую папку."
LangString RightsFailed ${LANG_ENGLISH} "The access rights of $INSTDIR could not be set (icacls: $0).$\r$\n$\r$\nThe installation has been stopped and nothing was installed. Choose a folder on an NTFS drive."
LangString RightsFailed ${LANG_RUSSIAN} "Не удалось задать права доступа к папке $INSTDIR (icacls: $0).$\r$\n$\r$\nУстановка прервана, ничего не установлено. Выберите папку на диске NTFS."
LangString SettingsFailed ${LANG_ENGLISH} "The file $INSTDIR\appconfig.ini could not be written.$\r$\n$\r$\nThe installation has been stopped and nothing was installed."
LangString SettingsFailed ${LANG_RUSSIAN} "Не удалось записать файл $INSTDIR\appconfig.ini.$\r$\n$\r$\nУстановка прервана, ничего не установлено."

VIProductVersion "${VERSION_DOTTED}"
VIFileVersion "${VERSION_DOTTED}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION_DOTTED}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION_DOTTED}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT_NAME} ${VERSION_SHORT} (x64) setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PRODUCT_MAKER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PRODUCT_MAKER}"

; The folder's rights are replaced, so it must be the program's own: new, empty, or holding only what this
; installer puts there (an earlier install of this version). $R0: the first other name found in $R3, or "".
Function FindForeignName
    StrCpy $R0 ""
    FindFirst $R1 $R2 "$R3\*"
    ${DoUntil} $R2 == ""
        ${Switch} $R2
            ${Case} "."
            ${Case} ".."
                ${Break}
            ; Each name only where the installer puts it: anything else would outlast the lock, and the uninstall.
            ${Case} "${EXE_NAME}"
            ${Case} "mz6.exe"
            ${Case} "appconfig.ini"
            ${Case} "uninstall.exe"
            ${Case} "help"
                ${If} $R3 != "$INSTDIR"
                    StrCpy $R0 $R2
                ${EndIf}
                ${Break}
            ${Case} "${PDF_NAME}"
                ${If} $R3 == "$INSTDIR"
                    StrCpy $R0 $R2
                ${EndIf}
                ${Break}
            ${Default}
                StrCpy $R0 $R2
        ${EndSwitch}
        ${If} $R0 != ""
            ${Break}
        ${EndIf}
        FindNext $R1 $R2
    ${Loop}
    FindClose $R1
FunctionEnd

Function FindForeignInFolder
    StrCpy $R3 "$INSTDIR"
    Call FindForeignName
    ${If} $R0 == ""
        StrCpy $R3 "$INSTDIR\help"
        Call FindForeignName
    ${EndIf}
FunctionEnd

Function CheckFolderPage
    Call FindForeignInFolder
    ${If} $R0 != ""
        MessageBox MB_ICONEXCLAMATION|MB_OK "$(ForeignFolder)"
        Abort  ; stays on the page
    ${EndIf}
FunctionEnd

; Takes back what the install has done so far and ends it with a non-zero exit code; the message is on the
; stack. The uninstall entry and the shortcut come last of all, so there are none yet.
Function StopInstall
    Exch $R9
    MessageBox MB_ICONSTOP|MB_OK "$R9" /SD IDOK
    !insertmacro RemoveInstalled ""
    SetOutPath "$TEMP"  ; the working folder cannot be removed
    ; icacls, which has just ended, may hold the folder as its working folder for a moment yet.
    ${For} $R8 1 20
        RMDir "$INSTDIR"
        ${IfNot} ${FileExists} "$INSTDIR\*.*"
            ${Break}
        ${EndIf}
        Sleep 100
    ${Next}
    SetErrorLevel 2
    Abort
FunctionEnd

; The installer runs with an administrator's token. explorer.exe hands the shortcut to the user's own
; shell, which starts the program with the signed-in user's rights, in the shortcut's working folder.
Function RunAsUser
    SetShellVarContext all
    Exec '"$WINDIR\explorer.exe" "${SHORTCUT}"'
FunctionEnd

Section
    SetShellVarContext all
    Call FindForeignInFolder
    ${If} $R0 != ""  ; nothing done yet, nothing to take back
        MessageBox MB_ICONSTOP|MB_OK "$(ForeignFolder)" /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
    ; Locked before anything goes in (files made in it inherit these rights): Administrators and SYSTEM
    ; full control, Users read and run; no rights inherited from above, where every authenticated user may
    ; change a new folder at the top of C:\. The owner is made Administrators too: the owner of a folder that
    ; a standard user made beforehand could otherwise give the rights back to themself.
    SetOutPath "$INSTDIR"
    !insertmacro SetRights '"$INSTDIR" /inheritance:r /grant:r ${ADMINS}:(OI)(CI)F ${SYSTEM}:(OI)(CI)F ${USERS}:(OI)(CI)RX'
    !insertmacro SetRights '"$INSTDIR" /setowner ${ADMINS}'
    ; Looked at again now that nobody else can add to it: whatever a standard user put there before the lock
    ; stops the install; whatever stands under these names (an earlier install, or a file or link put there
    ; before the lock) goes, so that each file is made anew with the folder's rights.
    Call FindForeignInFolder
    ${If} $R0 != ""
        Push "$(ForeignFolder)"
        Call StopInstall
    ${EndIf}
    !insertmacro RemoveInstalled ""
    SetOutPath "$INSTDIR\help"
    File "/oname=${PDF_NAME}" "${HELP}"
    ; The shortcut's working folder is the output folder at the time it is made: the install folder.
    SetOutPath "$INSTDIR"
    File "/oname=${EXE_NAME}" "${EXE}"
    File "/oname=mz6.exe" "${MZ6}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The program saves the language and the tab here for every user: Users may write it, not delete it.
    ClearErrors
    FileOpen $1 "$INSTDIR\appconfig.ini" w
    FileWrite $1 "${DEFAULT_SETTINGS}"
    FileClose $1
    ${If} ${Errors}
        Push "$(SettingsFailed)"
        Call StopInstall
    ${EndIf}
    !insertmacro SetRights '"$INSTDIR\appconfig.ini" /grant ${USERS}:W'

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
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section Uninstall
    SetShellVarContext all
    Delete "${SHORTCUT}"
    !insertmacro RemoveInstalled /REBOOTOK
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
