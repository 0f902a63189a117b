# String building: append words to a text, take its tail, search it, upper-case and
# replace in each word. The text is restarted past 200 characters, as in our script.
proc build_strings {} {
    set text ""
    set total 0
    set restarts 0
    for {set i 0} {$i < 100000} {incr i} {
        set word "w${i}x"
        append text $word
        set start [expr {[string length $text] - 3}]
        set tail [string range $text $start [expr {$start + 2}]]
        set at [string first $tail $text 0]
        set shout [string toupper $word]
        set swapped [string map -nocase {x -} $shout]
        set total [expr {$total + $at + [string length $swapped]}]
        if {[string length $text] > 200} {
            set text ""
            incr restarts
        }
    }
    return "$total:$restarts:[string length $text]:$swapped"
}
puts [build_strings]
