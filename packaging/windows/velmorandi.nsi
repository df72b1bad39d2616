; Velmorandi's installer, made with NSIS by tools/windows/package.sh:
;   makensis -DVERSION=1.0.184 -DSHOWN_VERSION=1.0.184.1 -DSTAGE=<folder> -DOUTFILE=<setup.exe> velmorandi.nsi
; STAGE (absolute: makensis works in this folder) holds Velmorandi.exe, LICENSE.txt and
; third-party-notices.txt.
; It installs for the current user alone, so it needs no administrator rights: the
; program under %LOCALAPPDATA%\Programs, its Start menu shortcut, its entry in Apps &
; features and a command in the context menu of folders, all under HKCU. The uninstaller
; takes all of that away again and leaves the user's records of renames where they are.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS Win10

!include MUI2.nsh
!include FileFunc.nsh

!define PRODUCT "Velmorandi"
!define PUBLISHER "Ombrix"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define FOLDER_COMMAND_KEY "Software\Classes\Directory\shell\${PRODUCT}"
!define RECORDS "$LOCALAPPDATA\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${SHOWN_VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${SHOWN_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${SHOWN_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "GNU General Public License, version 3 or later"

!define MUI_ICON "velmorandi.ico"
!define MUI_UNICON "velmorandi.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PRODUCT}.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${PRODUCT} has been removed"
!define MUI_FINISHPAGE_TEXT "${PRODUCT} has been removed from this computer.$\r$\n$\r$\nThe records of your renames, which undo and recovery read, are kept in ${RECORDS}. Delete that folder yourself if you no longer need them."
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

Section "${PRODUCT}"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${STAGE}/${PRODUCT}.exe"
    File "${STAGE}/LICENSE.txt"
    File "${STAGE}/third-party-notices.txt"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${PRODUCT}.exe" "" \
        "$INSTDIR\${PRODUCT}.exe" 0 SW_SHOWNORMAL "" "Rename all the files of a folder at once"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${SHOWN_VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PRODUCT}.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.ombrix.example/"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; The counterpart of the KDE service menu: an entry on folders, not a way to open them.
    WriteRegStr HKCU "${FOLDER_COMMAND_KEY}" "" "Rename files with ${PRODUCT}"
    WriteRegStr HKCU "${FOLDER_COMMAND_KEY}" "Icon" "$INSTDIR\${PRODUCT}.exe,0"
    WriteRegStr HKCU "${FOLDER_COMMAND_KEY}\command" "" '"$INSTDIR\${PRODUCT}.exe" "%1"'
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    Delete "$INSTDIR\${PRODUCT}.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\third-party-notices.txt"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    ; Made by the installer where no other program had made it; left where anything is in it.
    RMDir "$LOCALAPPDATA\Programs"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKCU "${FOLDER_COMMAND_KEY}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DetailPrint "The records of your renames are kept in ${RECORDS}."
SectionEnd
