# Sourced by scripts/run.sh and the DOS sample's test: the settings file that
# opens one of the sample projects.
#   write_sample_settings SAMPLE MAKEFILE SETTINGS_FILE
# SAMPLE is "sample" (GNU make and gcc), "dos-hello" (bcc, a DOS .com run
# in DOSBox) or "watcom-hello" (Open Watcom, its program run through
# dosrun). The file is a registry export text, as Vantor stores it.

# A value of the export text: backslashes and double quotes escaped.
reg_text() {
    printf '"%s"' "$(printf '%s' "$1" | sed -e 's/[\\"]/\\&/g')"
}

write_sample_settings() {
    local sample=$1 makefile=$2 file=$3
    {
        printf 'REGEDIT4\n\n'
        if [[ $sample == dos-hello ]]; then
            # Toolchain 0 with bcc: objects *.o, and no response file, which
            # bcc would take for a source (DEPMILLOPT letter L). No object
            # folder either: a new project keeps its objects beside the sources.
            printf '[HKEY_CURRENT_USER\\Software\\Halden\\Vantor]\n'
            printf '"DepmillCommand"=%s\n' "$(reg_text 'cmd /cDEPMILLOPT=L0 depmill -t0 -b o')"
            printf '"defaultObjectFolder"=""\n\n'
            printf '[HKEY_CURRENT_USER\\Software\\Halden\\Vantor\\Tools]\n'
            printf '"NumTools"=dword:00000001\n'
            printf '"Name0"=%s\n' "$(reg_text 'DOSBoxで実行')"
            printf '"Command0"="dosbox"\n'
            printf '"Arguments0"=%s\n' "$(reg_text '"$(Target)"')"
            printf '"Folder0"=""\n'
            printf '"OutputRedirect0"=dword:00000000\n'
            printf '"Iconed0"=dword:00000000\n\n'
        elif [[ $sample == watcom-hello ]]; then
            # Toolchain 3 with make and the Linux-hosted tools; the tool runs
            # the built program in DOSBox through dosrun, its output in the
            # window.
            printf '[HKEY_CURRENT_USER\\Software\\Halden\\Vantor]\n'
            printf '"DepmillCommand"="depmill -t3"\n\n'
            printf '[HKEY_CURRENT_USER\\Software\\Halden\\Vantor\\Tools]\n'
            printf '"NumTools"=dword:00000001\n'
            printf '"Name0"=%s\n' "$(reg_text 'dosrunで実行')"
            printf '"Command0"="dosrun"\n'
            printf '"Arguments0"=%s\n' "$(reg_text '$(TargetName)')"
            printf '"Folder0"=%s\n' "$(reg_text "$(dirname "$makefile")")"
            printf '"OutputRedirect0"=dword:00000001\n'
            printf '"Iconed0"=dword:00000001\n\n'
        fi
        printf '[HKEY_CURRENT_USER\\Software\\Halden\\Vantor\\history]\n'
        printf '"ProjectFile0"=%s\n' "$(reg_text "$makefile")"
        printf '"Project0"=%s\n' "$(reg_text "$sample")"
    } >"$file"
}
