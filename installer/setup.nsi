; Installer of the program and its console companion mz6.exe, built by scripts/release:
;   makensis -DEXE=program.exe -DMZ6=mz6.exe -DHELP=guide.pdf -DOUTFILE=setup.exe -DPRODUCT_NAME=... installer/setup.nsi
; with every value of build/win/product.env as a define of the same name (PRODUCT_NAME, VERSION_DOTTED,
; VERSION_SHORT, EXE_NAME, PDF_NAME, INSTALL_FOLDER): the names and the version are written in CMake only.
;   and, for a signed release, -DSIGN=scripts/sign-file: the uninstaller and the installer are signed as
;   makensis makes them.
;
; The program keeps appconfig.ini in its working folder and opens help\ relative to it, so it is
; installed into a folder the user can write to (a new folder at the top of C:\ is one by default),
; and its shortcut starts it there. The uninstaller removes what the installer put there and the
; appconfig.ini the program made; the folder goes only if nothing else is left in it.

Unicode true
Target amd64-unicode  ; the program is x64 only; a 64-bit installer also sees the 64-bit registry
SetCompressor /SOLID lzma
RequestExecutionLevel admin  ; for the all-users shortcut and the entry in the list of programs
ManifestDPIAware true

!include MUI2.nsh

!ifndef INSTALL_FOLDER
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
!define PUBLISHER "MivorZentak team"

; The folder stays writable for the program's appconfig.ini; the files installed in it are only read and run
; by standard users (Users), so none of them can replace a program that an administrator starts later.
; Well-known SIDs: Administrators, SYSTEM, Users, whatever the language of Windows.
!macro ProtectFile file
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" "${file}" /inheritance:r /grant:r *S-1-5-32-544:F *S-1-5-18:F *S-1-5-32-545:RX'
    Pop $0
!macroend

Name "${PRODUCT_NAME} ${VERSION_SHORT} (x64)"
OutFile "${OUTFILE}"
InstallDir "C:\${INSTALL_FOLDER}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT_NAME} ${VERSION_SHORT}"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE_NAME}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The installer speaks the language of the user's Windows if it is one of these, else English.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${VERSION_DOTTED}"
VIFileVersion "${VERSION_DOTTED}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION_DOTTED}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION_DOTTED}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT_NAME} ${VERSION_SHORT} (x64) setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}"

Section
    SetShellVarContext all
    SetOutPath "$INSTDIR\help"
    File "/oname=${PDF_NAME}" "${HELP}"
    ; The shortcut's working folder is the output folder at the time it is made: the install folder.
    SetOutPath "$INSTDIR"
    File "/oname=${EXE_NAME}" "${EXE}"
    File "/oname=mz6.exe" "${MZ6}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE_NAME}"
    !insertmacro ProtectFile "$INSTDIR\${EXE_NAME}"
    !insertmacro ProtectFile "$INSTDIR\mz6.exe"
    !insertmacro ProtectFile "$INSTDIR\help\${PDF_NAME}"
    !insertmacro ProtectFile "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME} ${VERSION_SHORT} (x64)"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION_SHORT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.example.com"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE_NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section Uninstall
    SetShellVarContext all
    ; /REBOOTOK: a file in use (the program still running, the guide open) goes at the next restart,
    ; rather than staying behind after its uninstaller and entry have gone.
    Delete "${SHORTCUT}"
    Delete /REBOOTOK "$INSTDIR\${EXE_NAME}"
    Delete /REBOOTOK "$INSTDIR\mz6.exe"
    Delete /REBOOTOK "$INSTDIR\appconfig.ini"
    Delete /REBOOTOK "$INSTDIR\help\${PDF_NAME}"
    Delete /REBOOTOK "$INSTDIR\uninstall.exe"
    ; Without /r: a folder that still holds files of the user's own stays (and asks for no restart).
    RMDir "$INSTDIR\help"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
