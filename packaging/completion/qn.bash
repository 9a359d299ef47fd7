# bash completion for qn, the command line of Trel: commands, their options, and files (.qn
# sources for the commands that take one).
_qn() {
  local cur prev words cword
  _init_completion || return

  local commands="run exec translate build export unpack eval debug lsp"
  local run_options="--log --code --only-translate -i --interactive --max-steps --log-lines --no-log --seed --answers --help"
  if [[ $cword -eq 1 ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$commands --help --version" -- "$cur")
    return
  fi

  case $prev in
    --log | --code | --answers | -o | --stub)
      _filedir
      return
      ;;
    --max-steps | --log-lines | --seed)
      return
      ;;
  esac

  local options
  case ${words[1]} in
    run | exec) options=$run_options ;;
    translate) options="--warnings --help" ;;
    build) options="-o --stub --help" ;;
    eval) options="--answers --max-steps --help" ;;
    debug) options="--seed --answers --max-steps --help" ;;
    lsp) options="--stdio --help" ;;
    export | unpack) options="--help" ;;
    *) return ;;
  esac
  if [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    return
  fi
  case ${words[1]} in
    run | translate | build | export | debug) _filedir '@(qn|qnlib)' ;;
    exec | unpack) _filedir ;;
  esac
}
complete -F _qn qn
