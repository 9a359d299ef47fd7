# fish completion for qn, the command line of Trel.
set -l commands run exec translate build export unpack eval debug lsp
complete -c qn -f
complete -c qn -n "not __fish_seen_subcommand_from $commands" -a run -d 'translate FILE and run it'
complete -c qn -n "not __fish_seen_subcommand_from $commands" -a exec -d 'run FILE as low-level code'
complete -c qn -n "not __fish_seen_subcommand_from $commands" -a translate -d 'print the translation'
complete -c qn -n "not __fish_seen_subcommand_from $commands" -a build -d 'build a standalone program'
complete -c qn -n "not __fish_seen_subcommand_from $commands" -a export -d 'export as a library'
complete -c qn -n "not __fish_seen_subcommand_from $commands" -a unpack -d 'print an embedded program'
complete -c qn -n "not __fish_seen_subcommand_from $commands" -a eval -d 'compute a formula'
complete -c qn -n "not __fish_seen_subcommand_from $commands" -a debug -d 'debug with commands from standard input'
complete -c qn -n "not __fish_seen_subcommand_from $commands" -a lsp -d 'serve the language server protocol'
complete -c qn -n "not __fish_seen_subcommand_from $commands" -l version -d 'print the version'
complete -c qn -l help -s h -d 'show help'
complete -c qn -n "__fish_seen_subcommand_from run translate build export debug" -a "(__fish_complete_suffix .qn) (__fish_complete_suffix .qnlib)"
complete -c qn -n "__fish_seen_subcommand_from exec unpack" -F
complete -c qn -n "__fish_seen_subcommand_from run exec" -l log -r -F -d 'write the assembly log'
complete -c qn -n "__fish_seen_subcommand_from run exec" -l code -r -F -d 'write the code list'
complete -c qn -n "__fish_seen_subcommand_from run exec" -l only-translate -d 'run with Only translate checked'
complete -c qn -n "__fish_seen_subcommand_from run exec" -s i -l interactive -d 'run standard input as console lines'
complete -c qn -n "__fish_seen_subcommand_from run exec" -l log-lines -x -d 'keep at most N log lines'
complete -c qn -n "__fish_seen_subcommand_from run exec" -l no-log -d 'keep no trace of the steps'
complete -c qn -n "__fish_seen_subcommand_from run exec eval debug" -l max-steps -x -d 'stop after N steps'
complete -c qn -n "__fish_seen_subcommand_from run exec debug" -l seed -x -d 'seed the random generator'
complete -c qn -n "__fish_seen_subcommand_from run exec eval debug" -l answers -r -F -d 'answers for dialogs'
complete -c qn -n "__fish_seen_subcommand_from translate" -l warnings -d 'report warnings'
complete -c qn -n "__fish_seen_subcommand_from build" -s o -r -F -d 'output file'
complete -c qn -n "__fish_seen_subcommand_from build" -l stub -r -F -d 'runtime stub'
complete -c qn -n "__fish_seen_subcommand_from lsp" -l stdio -d 'use standard input and output'
