; Velmorandi's installer, made with NSIS by tools/windows/package.sh:
;   makensis -WX -DVERSION=1.0.184 -DSHOWN_VERSION=1.0.184.1 -DSTAGE=<folder> -DOUTFILE=<setup.exe> velmorandi.nsi
; STAGE (absolute: makensis works in this folder) holds Velmorandi.exe, LICENSE.txt and
; third-party-notices.txt.
; It installs for the current user alone, so it needs no administrator rights: the
; program under %LOCALAPPDATA%\Programs, its Start menu shortcut, its entry in Apps &
; features and a command in Explorer's menus of folders, folder backgrounds and drives, all
; under HKCU. Installed again, a newer version replaces the files and entries in place. The
; uninstaller takes all of that away again and leaves the user's records of renames where
; they are. Both speak English or German, as the system does, and neither touches the
; program's files while Velmorandi runs.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS Win10

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT "Velmorandi"
!define PUBLISHER "Ombrix"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define FOLDER_ENTRY_KEY "Software\Classes\Directory\shell\${PRODUCT}"
!define BACKGROUND_ENTRY_KEY "Software\Classes\Directory\Background\shell\${PRODUCT}"
!define DRIVE_ENTRY_KEY "Software\Classes\Drive\shell\${PRODUCT}"
!define RECORDS "$LOCALAPPDATA\${PRODUCT}"
; Held by Velmorandi.exe while it runs (app/running_mark_windows.cpp).
!define RUNNING_MARK "Local\${PRODUCT}.Running"
; The exit code of a silent (un)installation refused because Velmorandi runs.
!define EXIT_RUNNING 2

!searchparse "${VERSION}" "" VERSION_MAJOR "." VERSION_MINOR "."

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
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunInStartFolder
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "$(Removed)"
!define MUI_FINISHPAGE_TEXT "$(RemovedText)"
!insertmacro MUI_UNPAGE_FINISH

; The first is the one for systems in any other language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString Summary ${LANG_ENGLISH} "Rename all the files of a folder at once"
LangString Summary ${LANG_GERMAN} "Alle Dateien eines Ordners auf einmal umbenennen"
LangString EntryCaption ${LANG_ENGLISH} "Rename files with ${PRODUCT}"
LangString EntryCaption ${LANG_GERMAN} "Dateien mit ${PRODUCT} umbenennen"
LangString CloseToInstall ${LANG_ENGLISH} "${PRODUCT} is running. Close ${PRODUCT}, then click Retry to go on with the installation."
LangString CloseToInstall ${LANG_GERMAN} "${PRODUCT} läuft gerade. Schließen Sie ${PRODUCT} und klicken Sie dann auf Wiederholen, um mit der Installation fortzufahren."
LangString NotInstalled ${LANG_ENGLISH} "${PRODUCT} is running, so it was not installed. Close ${PRODUCT} and run the setup again."
LangString NotInstalled ${LANG_GERMAN} "${PRODUCT} läuft gerade und wurde daher nicht installiert. Schließen Sie ${PRODUCT} und starten Sie die Installation erneut."
LangString CloseToRemove ${LANG_ENGLISH} "${PRODUCT} is running. Close ${PRODUCT}, then click Retry to go on with removing it."
LangString CloseToRemove ${LANG_GERMAN} "${PRODUCT} läuft gerade. Schließen Sie ${PRODUCT} und klicken Sie dann auf Wiederholen, um mit der Deinstallation fortzufahren."
LangString NotRemoved ${LANG_ENGLISH} "${PRODUCT} is running, so it was not removed. Close ${PRODUCT} and run the uninstaller again."
LangString NotRemoved ${LANG_GERMAN} "${PRODUCT} läuft gerade und wurde daher nicht entfernt. Schließen Sie ${PRODUCT} und starten Sie die Deinstallation erneut."
LangString Removed ${LANG_ENGLISH} "${PRODUCT} has been removed"
LangString Removed ${LANG_GERMAN} "${PRODUCT} wurde entfernt"
LangString RemovedText ${LANG_ENGLISH} "${PRODUCT} has been removed from this computer.$\r$\n$\r$\nThe records of your renames, which undo and recovery read, are kept in ${RECORDS}. Delete that folder yourself if you no longer need them."
LangString RemovedText ${LANG_GERMAN} "${PRODUCT} wurde von diesem Computer entfernt.$\r$\n$\r$\nDie Protokolle Ihrer Umbenennungen, die ${PRODUCT} zum Rückgängigmachen und zur Wiederherstellung nach einem Absturz liest, bleiben in ${RECORDS} erhalten. Löschen Sie diesen Ordner selbst, wenn Sie sie nicht mehr benötigen."
LangString RecordsKept ${LANG_ENGLISH} "The records of your renames are kept in ${RECORDS}."
LangString RecordsKept ${LANG_GERMAN} "Die Protokolle Ihrer Umbenennungen bleiben in ${RECORDS} erhalten."

; Whether Velmorandi runs, in the installer and in the uninstaller alike. Neither may touch
; its files meanwhile: NSIS would stop on a raw error where a file is in use.
!macro RUNNING_CHECKS un
; $0 = 1 while a Velmorandi.exe of this user runs, wherever it lies.
Function ${un}MarkHeld
    StrCpy $0 0
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING_MARK}") p .r1'
    ${If} $1 P<> 0
        System::Call 'kernel32::CloseHandle(p r1)'
        StrCpy $0 1
    ${EndIf}
FunctionEnd

; $0 = 1 also while the installed Velmorandi.exe cannot be written: a version older than
; the mark runs.
Function ${un}ProgramHeld
    Call ${un}MarkHeld
    ${If} $0 == 0
    ${AndIf} ${FileExists} "$INSTDIR\${PRODUCT}.exe"
        ClearErrors
        FileOpen $1 "$INSTDIR\${PRODUCT}.exe" a
        ${If} ${Errors}
            StrCpy $0 1
        ${Else}
            FileClose $1
        ${EndIf}
    ${EndIf}
FunctionEnd

; Returns once the check named in $R0 finds Velmorandi closed. Asks until then; ends the
; (un)installer when the user cancels. A silent one cannot ask: it ends at once, with
; EXIT_RUNNING and the sentence in $R2 on its standard error where it has one.
Function ${un}WaitUntilClosed
    ${Do}
        Call $R0
        ${If} $0 == 0
            Return
        ${EndIf}
        ${If} ${Silent}
            System::Call 'kernel32::GetStdHandle(i -12) p .r1'
            ${If} $1 P<> 0
            ${AndIf} $1 P<> -1
                FileWrite $1 "$R2$\r$\n"
            ${EndIf}
            SetErrorLevel ${EXIT_RUNNING}
            Quit
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$R1" IDRETRY again
        SetErrorLevel 1
        Quit
        again:
    ${Loop}
FunctionEnd
!macroend
!insertmacro RUNNING_CHECKS ""
!insertmacro RUNNING_CHECKS "un."

!macro WAIT_UNTIL_CLOSED un check ask refusal
    GetFunctionAddress $R0 ${un}${check}
    StrCpy $R1 "${ask}"
    StrCpy $R2 "${refusal}"
    Call ${un}WaitUntilClosed
!macroend

Function .onInit
    !insertmacro WAIT_UNTIL_CLOSED "" MarkHeld "$(CloseToInstall)" "$(NotInstalled)"
FunctionEnd

Function un.onInit
    !insertmacro WAIT_UNTIL_CLOSED un. MarkHeld "$(CloseToRemove)" "$(NotRemoved)"
FunctionEnd

; The folder Velmorandi starts in: the user's Pictures, never its own folder, which it
; would list otherwise; the user's own folder where there is no Pictures. In $0.
Function StartFolder
    StrCpy $0 "$PICTURES"
    ${IfNot} ${FileExists} "$0\*.*"
        StrCpy $0 "$PROFILE"
    ${EndIf}
FunctionEnd

; Exec starts the program in the output folder. Without a folder on its command line the
; program lists that folder only where it lies on the first drive; a folder named there
; opens with its drive. "\." keeps a drive root's final backslash from escaping the quote.
Function RunInStartFolder
    Call StartFolder
    SetOutPath $0
    Exec '"$INSTDIR\${PRODUCT}.exe" "$0\."'
FunctionEnd

; An entry in Explorer's menu of KEY, passing the folder as ARGUMENT.
!macro EXPLORER_ENTRY key argument
    WriteRegStr HKCU "${key}" "" "$(EntryCaption)"
    WriteRegStr HKCU "${key}" "Icon" "$INSTDIR\${PRODUCT}.exe,0"
    WriteRegStr HKCU "${key}\command" "" '"$INSTDIR\${PRODUCT}.exe" ${argument}'
!macroend

Section "${PRODUCT}"
    SetShellVarContext current
    ; A copy of Velmorandi may have been started since the installer was.
    !insertmacro WAIT_UNTIL_CLOSED "" ProgramHeld "$(CloseToInstall)" "$(NotInstalled)"
    SetOutPath "$INSTDIR"
    File "${STAGE}/${PRODUCT}.exe"
    File "${STAGE}/LICENSE.txt"
    File "${STAGE}/third-party-notices.txt"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; CreateShortCut makes the output folder the shortcut's "Start in" folder.
    Call StartFolder
    SetOutPath $0
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${PRODUCT}.exe" "" \
        "$INSTDIR\${PRODUCT}.exe" 0 SW_SHOWNORMAL "" "$(Summary)"
    SetOutPath $INSTDIR

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${SHOWN_VERSION}"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
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

    ; The counterpart of the KDE service menu: entries on folders, not a way to open them.
    ; A drive's root comes as "C:\", and so may a folder background's.
    !insertmacro EXPLORER_ENTRY "${FOLDER_ENTRY_KEY}" '"%1"'
    !insertmacro EXPLORER_ENTRY "${BACKGROUND_ENTRY_KEY}" '"%V\."'
    !insertmacro EXPLORER_ENTRY "${DRIVE_ENTRY_KEY}" '"%1\."'
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    !insertmacro WAIT_UNTIL_CLOSED un. ProgramHeld "$(CloseToRemove)" "$(NotRemoved)"
    Delete "$INSTDIR\${PRODUCT}.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\third-party-notices.txt"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    ; Made by the installer where no other program had made it; left where anything is in it.
    RMDir "$LOCALAPPDATA\Programs"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKCU "${FOLDER_ENTRY_KEY}"
    DeleteRegKey HKCU "${BACKGROUND_ENTRY_KEY}"
    DeleteRegKey HKCU "${DRIVE_ENTRY_KEY}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DetailPrint "$(RecordsKept)"
SectionEnd
